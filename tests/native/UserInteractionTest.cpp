#include <gtest/gtest.h>

#include "support/ScriptedInteraction.h"

namespace qv {
namespace {

TEST(UserInteraction, MessagesPlayTheirSoundThenShowTheirType)
{
    test::ScriptedInteraction ui;
    ui.ShowErrorMessage("e");
    ui.ShowWarningMessage("w");
    ui.ShowInfoMessage("i");
    ASSERT_EQ(ui.dialogs.size(), 3u);
    EXPECT_EQ(ui.dialogs[0].type, DialogType::Error);
    EXPECT_EQ(ui.dialogs[1].type, DialogType::Warning);
    EXPECT_EQ(ui.dialogs[2].type, DialogType::Information);
    EXPECT_EQ(ui.beeps, (std::vector<unsigned>{0x30, 0x30, 0x30}));
}

TEST(UserInteraction, QuestionsAreTrueOnlyForYes)
{
    const std::pair<DialogResult, bool> answers[] = {
        {DialogResult::Yes, true}, {DialogResult::No, false}, {DialogResult::Cancel, false}};
    for (auto [answer, expected] : answers) {
        test::ScriptedInteraction ui;
        ui.answers = {answer, answer};
        EXPECT_EQ(ui.AskYesNo("q"), expected);
        EXPECT_EQ(ui.AskYesNoCancel("q"), expected);
        EXPECT_EQ(ui.dialogs[0].type, DialogType::Confirmation);
        EXPECT_EQ(ui.dialogs[0].buttons, DialogButtons::YesNo);
        EXPECT_EQ(ui.dialogs[1].type, DialogType::Warning);  // three buttons: a warning box
        EXPECT_EQ(ui.dialogs[1].buttons, DialogButtons::YesNoCancel);
        EXPECT_EQ(ui.beeps, (std::vector<unsigned>{0x20, 0x30}));
    }
}

TEST(UserInteraction, WaitCursorNestsAndNeverGoesNegative)
{
    test::ScriptedInteraction ui;
    ui.BeginWaitCursor();
    ui.BeginWaitCursor();
    ui.EndWaitCursor();
    EXPECT_EQ(ui.cursorChanges, std::vector<bool>{true});  // still the hourglass
    ui.EndWaitCursor();
    ui.EndWaitCursor();  // extra End: harmless
    EXPECT_EQ(ui.WaitCursorDepth(), 0);
    ui.BeginWaitCursor();
    EXPECT_EQ(ui.cursorChanges, (std::vector<bool>{true, false, false, true}));
}

}  // namespace
}  // namespace qv
