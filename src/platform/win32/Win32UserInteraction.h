#pragma once
// The user-interaction interface with real Windows dialogs: system message
// boxes with the program's French captions and buttons, MessageBeep, the
// application-wide hourglass, the shell's folder chooser and the file-open
// dialog.
#include <windows.h>

#include "platform/UserInteraction.h"

namespace qv::win32 {

class Win32UserInteraction final : public UserInteraction {
public:
    // owner: the window the folder and file choosers belong to (may be
    // null). Message boxes belong to the thread's active window.
    explicit Win32UserInteraction(HWND owner = nullptr) : owner_(owner) {}
    void SetOwner(HWND owner) { owner_ = owner; }

    void Beep(unsigned soundType) override;
    DialogResult ShowMessageDialog(const std::string& text, DialogType type,
                                   DialogButtons buttons, const std::string& caption) override;
    std::string BrowseForFolder(const std::string& title) override;
    std::string ChooseFile() override;
    void SetWaitCursor(bool on) override;

private:
    HWND owner_;
};

// Whether the hourglass is on. Window procedures answer WM_SETCURSOR with
// ApplyWaitCursor() first, so the hourglass stays over every window.
bool WaitCursorShown();
// Sets the hourglass and returns true when it is on; false otherwise (the
// window then sets its own cursor).
bool ApplyWaitCursor();

}  // namespace qv::win32
