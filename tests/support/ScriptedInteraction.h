#pragma once
// A UserInteraction for tests: answers come from a script, and everything
// asked is recorded so a test can check the texts, types and sounds.
#include <deque>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/UserInteraction.h"

namespace qv::test {

struct AskedDialog {
    std::string text;
    DialogType type;
    DialogButtons buttons;
    std::string caption;  // empty: the title of its type
};

class ScriptedInteraction : public UserInteraction {
public:
    // Queued answers, used in order. A dialog with no queued answer fails
    // the test by throwing.
    std::deque<DialogResult> answers;
    std::deque<std::string> folderAnswers;  // BrowseForFolder
    std::deque<std::string> fileAnswers;    // ChooseFile

    std::vector<AskedDialog> dialogs;
    std::vector<unsigned> beeps;
    std::vector<std::string> folderTitles;
    int fileDialogs = 0;
    std::vector<bool> cursorChanges;

    void Beep(unsigned soundType) override { beeps.push_back(soundType); }

    DialogResult ShowMessageDialog(const std::string& text, DialogType type,
                                   DialogButtons buttons, const std::string& caption) override
    {
        dialogs.push_back({text, type, buttons, caption});
        if (buttons == DialogButtons::Ok)
            return DialogResult::Ok;
        if (answers.empty())
            throw std::logic_error("unexpected question: " + text);
        DialogResult r = answers.front();
        answers.pop_front();
        return r;
    }

    std::string BrowseForFolder(const std::string& title) override
    {
        folderTitles.push_back(title);
        if (folderAnswers.empty())
            throw std::logic_error("unexpected folder chooser: " + title);
        std::string r = folderAnswers.front();
        folderAnswers.pop_front();
        return r;
    }

    std::string ChooseFile() override
    {
        ++fileDialogs;
        if (fileAnswers.empty())
            throw std::logic_error("unexpected file chooser");
        std::string r = fileAnswers.front();
        fileAnswers.pop_front();
        return r;
    }

    void SetWaitCursor(bool on) override { cursorChanges.push_back(on); }
};

}  // namespace qv::test
