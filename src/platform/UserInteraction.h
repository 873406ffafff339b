#pragma once
// The one way the program talks to the user: message boxes, questions,
// folder and file choosers, the wait cursor. The wizard implements it with
// real dialogs; tests implement it with scripted answers.
#include <string>

namespace qv {

enum class DialogType { Warning, Error, Information, Confirmation };
enum class DialogButtons { Ok, YesNo, YesNoCancel };
enum class DialogResult { Ok, Yes, No, Cancel };

// The caption of a box of the type when it is given none.
const char* DialogCaption(DialogType type);

// MessageBeep sound types used by the helpers.
inline constexpr unsigned kBeepExclamation = 0x30;  // MB_ICONEXCLAMATION
inline constexpr unsigned kBeepQuestion = 0x20;     // MB_ICONQUESTION

class UserInteraction {
public:
    virtual ~UserInteraction() = default;

    // --- what an implementation provides -----------------------------------
    virtual void Beep(unsigned soundType) = 0;
    // Modal, centred on the screen, the whole text with its line breaks,
    // titled caption, or the title of its type when caption is empty.
    // Escape and the title-bar close button give Cancel (or No without a
    // Cancel button), never Yes.
    virtual DialogResult ShowMessageDialog(const std::string& text, DialogType type,
                                           DialogButtons buttons, const std::string& caption) = 0;
    // The shell's folder chooser; the empty string when cancelled.
    virtual std::string BrowseForFolder(const std::string& title) = 0;
    // The file-open dialog with default settings; the empty string when
    // cancelled.
    virtual std::string ChooseFile() = 0;
    // Shows or hides the application-wide hourglass.
    virtual void SetWaitCursor(bool on) = 0;

    // --- the standard messages: sound first, then the dialog -----------------
    void ShowErrorMessage(const std::string& text);
    void ShowWarningMessage(const std::string& text);
    void ShowInfoMessage(const std::string& text);
    bool AskYesNo(const std::string& text);        // true only for Yes
    bool AskYesNoCancel(const std::string& text);  // true only for Yes

    // Nested hourglass: shown by the outermost Begin, hidden by the matching
    // End; an extra End is harmless.
    void BeginWaitCursor();
    void EndWaitCursor();
    int WaitCursorDepth() const { return waitDepth_; }

private:
    int waitDepth_ = 0;
};

}  // namespace qv
