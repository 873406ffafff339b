#pragma once
// Hints shown as balloons: a short pause before they appear, the info
// background colour, a narrow caption, and 20 seconds before they go.
#include <windows.h>

#include <string>

#include "platform/win32/Win32Handles.h"

namespace qv::wizard {

class BalloonHints {
public:
    explicit BalloonHints(HWND owner);

    // Shows hint over control while the mouse rests on it.
    void Add(HWND control, const std::string& hint);

private:
    win32::UniqueWindow tooltip_;
};

}  // namespace qv::wizard
