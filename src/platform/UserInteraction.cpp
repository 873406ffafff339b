#include "platform/UserInteraction.h"

#include "core/Texts.h"

namespace qv {

const char* DialogCaption(DialogType type)
{
    switch (type) {
    case DialogType::Warning: return texts::kCaptionWarning;
    case DialogType::Error: return texts::kCaptionError;
    case DialogType::Information: return texts::kCaptionInformation;
    case DialogType::Confirmation: return texts::kCaptionConfirmation;
    }
    return "";
}


void UserInteraction::ShowErrorMessage(const std::string& text)
{
    Beep(kBeepExclamation);
    ShowMessageDialog(text, DialogType::Error, DialogButtons::Ok, {});
}

void UserInteraction::ShowWarningMessage(const std::string& text)
{
    Beep(kBeepExclamation);
    ShowMessageDialog(text, DialogType::Warning, DialogButtons::Ok, {});
}

void UserInteraction::ShowInfoMessage(const std::string& text)
{
    // The information box plays the exclamation sound too.
    Beep(kBeepExclamation);
    ShowMessageDialog(text, DialogType::Information, DialogButtons::Ok, {});
}

bool UserInteraction::AskYesNo(const std::string& text)
{
    Beep(kBeepQuestion);
    return ShowMessageDialog(text, DialogType::Confirmation, DialogButtons::YesNo, {}) ==
           DialogResult::Yes;
}

bool UserInteraction::AskYesNoCancel(const std::string& text)
{
    // A warning box, not a confirmation box.
    Beep(kBeepExclamation);
    return ShowMessageDialog(text, DialogType::Warning, DialogButtons::YesNoCancel, {}) ==
           DialogResult::Yes;
}

void UserInteraction::BeginWaitCursor()
{
    if (waitDepth_ == 0)
        SetWaitCursor(true);
    ++waitDepth_;
}

void UserInteraction::EndWaitCursor()
{
    if (--waitDepth_ < 0)
        waitDepth_ = 0;
    if (waitDepth_ == 0)
        SetWaitCursor(false);
}

}  // namespace qv
