#include <gtest/gtest.h>
#include <windows.h>

#include "core/Errors.h"
#include "platform/win32/SystemInfo.h"
#include "support/ScriptedInteraction.h"
#include "ScratchFolder.h"

namespace qv::win32 {
namespace {

TEST(SystemInfo, FoldersNamesAndVersions)
{
    std::string windows = GetWindowsFolder();
    ASSERT_FALSE(windows.empty());
    EXPECT_EQ(windows.back(), '\\');
    EXPECT_EQ(windows.find('\\'), 2u);  // C:\...

    test::ScriptedInteraction ui;
    std::string computer = GetComputerNameText(ui);
    EXPECT_FALSE(computer.empty());
    EXPECT_LE(computer.size(), 15u);
    EXPECT_TRUE(ui.dialogs.empty());
    EXPECT_FALSE(GetUserNameText().empty());

    EXPECT_EQ(FileVersionText(test::FixturePath("v1040.dll")), "1.0.4.0");
    EXPECT_EQ(FileVersionText(test::FixturePath("noversion.dll")), "?");
    EXPECT_EQ(FileVersionText("C:\\no\\such.dll"), "?");
}

// User names reach 256 characters: the whole name, never an empty one.
// (Wine takes the name from WINEUSERNAME.)
TEST(SystemInfo, ALongUserNameIsReadWhole)
{
    char saved[512] = {};
    const bool had = GetEnvironmentVariableA("WINEUSERNAME", saved, sizeof saved) > 0;
    const std::string longName(200, 'u');
    SetEnvironmentVariableA("WINEUSERNAME", longName.c_str());
    char check[512] = {};
    DWORD size = sizeof check;
    const bool honoured = GetUserNameA(check, &size) && longName == check;
    const std::string name = GetUserNameText();
    SetEnvironmentVariableA("WINEUSERNAME", had ? saved : nullptr);
    if (!honoured)
        GTEST_SKIP() << "this system does not take the name from WINEUSERNAME";
    EXPECT_EQ(name, longName);
}

TEST(SystemInfo, ShowLastErrorShowsTheSystemTextThenAbortsUnlessContinuing)
{
    test::ScriptedInteraction ui;
    SetLastError(ERROR_ACCESS_DENIED);
    ShowLastError(ui, "Copie impossible", AfterError::Continue);
    SetLastError(ERROR_FILE_NOT_FOUND);
    EXPECT_THROW(ShowLastError(ui, "Lecture impossible", AfterError::Abort), SilentAbort);

    ASSERT_EQ(ui.dialogs.size(), 2u);
    EXPECT_EQ(ui.dialogs[0].text, "Copie impossible\r\n" + SystemErrorText(ERROR_ACCESS_DENIED));
    EXPECT_EQ(ui.dialogs[1].text, "Lecture impossible\r\n" + SystemErrorText(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(ui.dialogs[1].type, DialogType::Error);
    EXPECT_EQ(ui.beeps, (std::vector<unsigned>{0x30, 0x30}));
}

}  // namespace
}  // namespace qv::win32
