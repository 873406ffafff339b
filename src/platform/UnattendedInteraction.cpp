#include "platform/UnattendedInteraction.h"

#include "core/Format.h"
#include "core/Texts.h"

namespace qv {

namespace {

constexpr char kCrLf[] = "\r\n";

// The one question whose Yes keeps the installation as it is: the packaged
// file is the same as the installed one (Yes goes on and copies the same
// bytes again). Every other question's Yes installs something older or
// gives up what the user has: their answer is No.
bool AsksAboutAnIdenticalFile(const std::string& question)
{
    return question.find(texts::kInstalledIsSame1) != std::string::npos;
}

}  // namespace

DialogResult UnattendedInteraction::ShowMessageDialog(const std::string& text, DialogType type,
                                                      DialogButtons buttons,
                                                      const std::string& caption)
{
    const std::string title = caption.empty() ? DialogCaption(type) : caption;
    if (buttons == DialogButtons::Ok) {
        report_.AddLine(title + " : " + text + kCrLf, 0, "");
        return DialogResult::Ok;
    }
    const bool yes = replaceSame_ && AsksAboutAnIdenticalFile(text);
    report_.AddLine(title + " : " + text, 0, "");
    report_.AddLine(std::string(yes ? texts::kAutomaticAnswerYes : texts::kAutomaticAnswerNo) + kCrLf,
                    0, "");
    return yes ? DialogResult::Yes : DialogResult::No;
}

std::string UnattendedInteraction::BrowseForFolder(const std::string& title)
{
    report_.AddLine(Format(texts::kFolderChooserCancelled, {title}) + kCrLf, 0, "");
    return {};
}

std::string UnattendedInteraction::ChooseFile()
{
    report_.AddLine(std::string(texts::kFileChooserCancelled) + kCrLf, 0, "");
    return {};
}

}  // namespace qv
