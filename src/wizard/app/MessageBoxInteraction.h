#pragma once
// The program's dialogs with the system's message box.
#include "platform/UserInteraction.h"

namespace qv::wizard {

class MessageBoxInteraction : public UserInteraction {
public:
    void Beep(unsigned soundType) override;
    DialogResult ShowMessageDialog(const std::string& text, DialogType type,
                                   DialogButtons buttons) override;
    std::string BrowseForFolder(const std::string& title) override;
    std::string ChooseFile() override;
    void SetWaitCursor(bool on) override;
};

}  // namespace qv::wizard
