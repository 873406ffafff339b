// The drive search of the real program on drives of real types, without a
// registry record: run by scripts/env/drive-types-run.sh in a prefix where C: is
// fixed, D: a network drive, E: a CD-ROM and Z: is gone. The program and
// this test run from C:\qv-drives\.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

#include "ControlIds.h"
#include "WizardDriver.h"

namespace fs = std::filesystem;

namespace qv::test {
namespace {

using namespace qv::wizard;

constexpr char kQuorvexKey[] = "Software\\QUORVEX S.A.";
constexpr char kFailed[] = "Répertoire Quorvex5 pas trouvé.\r\n\r\nLa mise à jour a échouée !";
constexpr char kDrives[] = "CDE";

// A marker that no package is older than.
void MakeInstallation(char drive)
{
    const std::string gs = std::string(1, drive) + ":\\Quorvex5\\gs";
    fs::create_directories(gs);
    HANDLE h = CreateFileA((gs + "\\GS-00.int").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(h, "old", 3, &written, nullptr);
    CloseHandle(h);
}

class DriveSearch : public ::testing::Test {
protected:
    void SetUp() override { Clean(); }
    void TearDown() override { Clean(); }
    static void Clean()
    {
        for (const char* d = kDrives; *d; ++d)
            fs::remove_all(std::string(1, *d) + ":\\Quorvex5");
        RegDeleteTreeA(HKEY_CURRENT_USER, kQuorvexKey);
    }

    // Runs the wizard to its report, answering every box and chooser in
    // turn from answers; returns the report, the texts asked into asked.
    std::string Run(std::vector<int> answers, std::vector<std::string>& asked)
    {
        WizardDriver wizard;
        wizard.Start("quorvex-update.exe");
        EXPECT_TRUE(wizard.WaitForWelcome());
        EXPECT_TRUE(wizard.NextTo(kChangesPageClass));
        wizard.Press(kIdButtonNext);
        bool finished = WaitUntil(
            [&] {
                if (HWND box = wizard.FindMessageBox()) {
                    asked.push_back(WizardDriver::MessageBoxText(box));
                    int answer = answers.empty() ? IDOK : answers.front();
                    if (!answers.empty())
                        answers.erase(answers.begin());
                    WizardDriver::Answer(box, answer);
                    return false;
                }
                return wizard.IsEnabled(kIdButtonNext) &&
                       wizard.ControlText(kIdButtonNext) == "Quitter";
            },
            5 * 60 * 1000);
        EXPECT_TRUE(finished);
        std::string report = WizardDriver::Text(wizard.Control(kIdRichEditReport));
        wizard.Press(kIdButtonNext);
        // Every case here ends on an error reaching the run.
        EXPECT_EQ(wizard.WaitForExit(60000), 1u);
        return report;
    }
};

// What the search relies on: the prefix gives the drives their types.
TEST_F(DriveSearch, ThePrefixHasAFixedANetworkAndACdRomDriveAndNoZ)
{
    char list[256] = {};
    GetLogicalDriveStringsA(sizeof list, list);
    std::string letters;
    for (const char* p = list; *p; p += lstrlenA(p) + 1)
        letters += p[0];
    EXPECT_EQ(letters.find('Z'), std::string::npos) << letters;
    EXPECT_EQ(GetDriveTypeA("C:\\"), UINT(DRIVE_FIXED));
    EXPECT_EQ(GetDriveTypeA("D:\\"), UINT(DRIVE_REMOTE));
    EXPECT_EQ(GetDriveTypeA("E:\\"), UINT(DRIVE_CDROM));
}

// The suite on the fixed and on the network drive: two installations, the
// user must choose; cancelling the chooser fails the run, nothing replaced.
TEST_F(DriveSearch, OnAFixedAndANetworkDriveTheUserMustChoose)
{
    MakeInstallation('C');
    MakeInstallation('D');
    std::vector<std::string> asked;
    std::string report = Run({IDOK, IDCANCEL, IDOK}, asked);
    ASSERT_GE(asked.size(), 1u);
    EXPECT_EQ(asked[0], "2 répertoires Quorvex5 ont été trouvés, veuillez choisir l'emplacement correct.");
    EXPECT_NE(report.find(kFailed), std::string::npos) << report;
    EXPECT_EQ(ReadFileOrMissing("C:\\Quorvex5\\gs\\GS-00.int"), "old");
    EXPECT_EQ(ReadFileOrMissing("D:\\Quorvex5\\gs\\GS-00.int"), "old");
}

// Only on the CD-ROM: never searched, the folder is not found.
TEST_F(DriveSearch, OnlyOnTheCdRomTheSuiteIsNotFound)
{
    MakeInstallation('E');
    std::vector<std::string> asked;
    std::string report = Run({IDOK, IDCANCEL, IDOK}, asked);
    ASSERT_GE(asked.size(), 1u);
    EXPECT_EQ(asked[0], "Répertoire Quorvex5 pas trouvé. Veuillez indiquer son emplacement.");
    EXPECT_NE(report.find(kFailed), std::string::npos) << report;
    EXPECT_EQ(ReadFileOrMissing("E:\\Quorvex5\\gs\\GS-00.int"), "old");
}

}  // namespace
}  // namespace qv::test
