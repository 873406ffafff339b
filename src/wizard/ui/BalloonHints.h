#pragma once
// Hints shown as balloons: a short pause before they appear, the info
// background colour, a narrow caption, and 20 seconds before they go.
#include <windows.h>

#include <string>

namespace qv::wizard {

class BalloonHints {
public:
    explicit BalloonHints(HWND owner);
    ~BalloonHints();
    BalloonHints(const BalloonHints&) = delete;
    BalloonHints& operator=(const BalloonHints&) = delete;

    // Shows hint over control while the mouse rests on it.
    void Add(HWND control, const std::string& hint);

private:
    HWND tooltip_ = nullptr;
};

}  // namespace qv::wizard
