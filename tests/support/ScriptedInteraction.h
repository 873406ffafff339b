#pragma once
// A UserInteraction for tests: answers come from a script, and everything
// asked is recorded so a test can check the texts, types and sounds.
//
// A dialog the script did not expect throws, but the code under test may
// catch that throw (a procedure turns any error into a Ko line), so every
// unexpected call is also recorded, and the test fails on it when the
// double is destroyed or reset.
#include <gtest/gtest.h>

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
    ScriptedInteraction() = default;
    ScriptedInteraction(const ScriptedInteraction&) = delete;
    ScriptedInteraction& operator=(const ScriptedInteraction&) = delete;
    ~ScriptedInteraction() override { FailOnUnexpected(); }

    // Queued answers, used in order. A dialog with no queued answer fails
    // the test.
    std::deque<DialogResult> answers;
    std::deque<std::string> folderAnswers;  // BrowseForFolder
    std::deque<std::string> fileAnswers;    // ChooseFile

    std::vector<AskedDialog> dialogs;
    std::vector<unsigned> beeps;
    std::vector<std::string> folderTitles;
    int fileDialogs = 0;
    std::vector<bool> cursorChanges;
    // What was asked with no answer in the script.
    std::vector<std::string> unexpected;

    // Fails the test on the unexpected calls recorded so far, then starts
    // over with an empty script and empty records.
    void Reset()
    {
        FailOnUnexpected();
        answers.clear();
        folderAnswers.clear();
        fileAnswers.clear();
        dialogs.clear();
        beeps.clear();
        folderTitles.clear();
        fileDialogs = 0;
        cursorChanges.clear();
        unexpected.clear();
    }

    void Beep(unsigned soundType) override { beeps.push_back(soundType); }

    DialogResult ShowMessageDialog(const std::string& text, DialogType type,
                                   DialogButtons buttons, const std::string& caption) override
    {
        dialogs.push_back({text, type, buttons, caption});
        if (buttons == DialogButtons::Ok)
            return DialogResult::Ok;
        if (answers.empty())
            Unexpected("unexpected question: " + text);
        DialogResult r = answers.front();
        answers.pop_front();
        return r;
    }

    std::string BrowseForFolder(const std::string& title) override
    {
        folderTitles.push_back(title);
        if (folderAnswers.empty())
            Unexpected("unexpected folder chooser: " + title);
        std::string r = folderAnswers.front();
        folderAnswers.pop_front();
        return r;
    }

    std::string ChooseFile() override
    {
        ++fileDialogs;
        if (fileAnswers.empty())
            Unexpected("unexpected file chooser");
        std::string r = fileAnswers.front();
        fileAnswers.pop_front();
        return r;
    }

    void SetWaitCursor(bool on) override { cursorChanges.push_back(on); }

private:
    [[noreturn]] void Unexpected(const std::string& what)
    {
        unexpected.push_back(what);
        throw std::logic_error(what);
    }

    void FailOnUnexpected()
    {
        for (const std::string& what : unexpected)
            ADD_FAILURE() << "the script did not expect: " << what;
    }
};

}  // namespace qv::test
