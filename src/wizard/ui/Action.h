#pragma once
// A command with a caption and an enabled state, bound to a button. The
// wizard sets actions; the bound button follows (only changes are applied,
// so re-evaluating actions on every idle cycle does not flicker).
#include <windows.h>

#include <functional>
#include <string>

namespace qv::wizard {

class Action {
public:
    void Bind(HWND button);
    void SetCaption(const std::string& caption);
    void SetEnabled(bool enabled);

    // Runs the handler if the action is enabled.
    void Execute();

    std::function<void()> onExecute;

private:
    HWND button_ = nullptr;
    std::string caption_;
    bool enabled_ = true;
};

}  // namespace qv::wizard
