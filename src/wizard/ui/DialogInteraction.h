#pragma once
// The user-interaction interface with real Windows dialogs: message boxes
// with the program's French captions and buttons, MessageBeep, the
// application-wide hourglass, the shell's folder chooser and the file-open
// dialog.
#include <windows.h>

#include "platform/UserInteraction.h"

namespace qv::wizard {

// Plays a system sound (a MessageBeep type); the program's own player.
void PlaySystemSound(unsigned soundType);

class DialogInteraction final : public UserInteraction {
public:
    // Where the helpers' sounds go: the system's, or a test's recorder.
    using SoundPlayer = void (*)(unsigned soundType);

    // owner: the window the folder and file choosers belong to (may be
    // null). Message boxes belong to the thread's active window; they play
    // no sound themselves, so a helper's sound is the only one.
    explicit DialogInteraction(HWND owner = nullptr, SoundPlayer playSound = PlaySystemSound)
        : owner_(owner), playSound_(playSound) {}
    void SetOwner(HWND owner) { owner_ = owner; }

    void Beep(unsigned soundType) override;
    DialogResult ShowMessageDialog(const std::string& text, DialogType type,
                                   DialogButtons buttons, const std::string& caption) override;
    std::string BrowseForFolder(const std::string& title) override;
    std::string ChooseFile() override;
    void SetWaitCursor(bool on) override;

private:
    HWND owner_;
    SoundPlayer playSound_;
};

// Whether the hourglass is on. Window procedures answer WM_SETCURSOR with
// ApplyWaitCursor() first, so the hourglass stays over every window.
bool WaitCursorShown();
// Sets the hourglass and returns true when it is on; false otherwise (the
// window then sets its own cursor).
bool ApplyWaitCursor();

}  // namespace qv::wizard
