// The whole update as a person runs it: the real quorvex-update.exe, with
// this build's package, on a Quorvex Finance installation prepared in
// C:\Quorvex5 of the tests' prefix, walked through its windows; and the same
// package made by qvpack make, which must install the same.
#include <gtest/gtest.h>
#include <windows.h>

#include <regex>
#include <string>

#include "SuiteWorkstation.h"
#include "WizardRun.h"

namespace qv::test {
namespace {

using namespace qv::wizard;

class UpdateRun : public SuiteWorkstation {
protected:
    // Runs the wizard to its report: Suivant, Démarrer, then each question
    // answered in turn from answers (IDYES / IDNO). Returns the report. A
    // step that does not come stops the test there (call it inside
    // ASSERT_NO_FATAL_FAILURE).
    std::string Run(std::vector<int> answers, std::vector<std::string>* asked = nullptr,
                    const char* program = "quorvex-update.exe", const std::string& arguments = "")
    {
        std::string report;
        RunWizard(program, std::move(answers), asked, report, arguments, &exitCode);
        return report;
    }
    // The exit code of the last Run: the wizard's tells how its run ended
    // (0 Ok, 1 an error reached the run, 3 Not, 4 Warning).
    DWORD exitCode = STILL_ACTIVE;
};

TEST_F(UpdateRun, NewerPackageThenTheSamePackageTwice)
{
    // The wizard writes its log too: the report page's text, as UTF-8.
    const std::string logPath = temporary_->Path() + "\\update.log";
    std::string report;
    ASSERT_NO_FATAL_FAILURE(report = Run({}, nullptr, "quorvex-update.exe", "/LOG=\"" + logPath + "\""));
    const std::string log = ReadFileOrMissing(logPath);
    ASSERT_EQ(log.rfind("\xEF\xBB\xBF", 0), 0u) << "no byte-order mark";
    // The viewer may keep its last paragraph's break to itself.
    auto trimmed = [](std::string text) {
        while (!text.empty() && (text.back() == '\r' || text.back() == '\n'))
            text.pop_back();
        return text;
    };
    EXPECT_TRUE(trimmed(Cp1252FromUtf8(log.substr(3))) == trimmed(report)) << "the log is not the report";
    EXPECT_TRUE(EndsWith(report, kOk)) << report.substr(report.size() > 300 ? report.size() - 300 : 0);
    EXPECT_EQ(report.rfind("Mise à jour : Quorvex Finance  ", 0), 0u);
    EXPECT_EQ(Differing(), 0);
    EXPECT_EQ(exitCode, 0u);

    // The same package again: the "à jour" question; No changes nothing.
    std::vector<std::string> asked;
    ASSERT_NO_FATAL_FAILURE(report = Run({IDNO}, &asked));
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_NE(asked[0].find("GS-00.int présent sur votre système est à jour."), std::string::npos);
    EXPECT_TRUE(EndsWith(report, kNot));
    EXPECT_NE(report.find("est à jour : il n'est pas remplacé."), std::string::npos);
    EXPECT_EQ(report.find("Copie de"), std::string::npos);
    EXPECT_EQ(exitCode, 3u);

    // Yes copies everything again, the marker last.
    ASSERT_NO_FATAL_FAILURE(report = Run({IDYES}));
    EXPECT_TRUE(EndsWith(report, kOk));
    EXPECT_EQ(Differing(), 0);
}

TEST_F(UpdateRun, ALockedFileGivesAWarningAndTheNextRunRepeatsEverything)
{
    const std::string locked = std::string(kSuite) + "\\util\\pays.dat";
    HANDLE h = CreateFileA(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    std::string report;
    EXPECT_NO_FATAL_FAILURE(report = Run({}));
    CloseHandle(h);
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_TRUE(EndsWith(report, kWarning));
    EXPECT_EQ(exitCode, 4u);
    EXPECT_EQ(ReadFileOrMissing(kMarker), "old");  // the old marker stays
    EXPECT_EQ(ReadFileOrMissing(locked), "old");

    std::vector<std::string> asked;
    ASSERT_NO_FATAL_FAILURE(report = Run({}, &asked));
    EXPECT_TRUE(asked.empty());  // still older: no question
    EXPECT_TRUE(EndsWith(report, kOk));
    EXPECT_EQ(Differing(), 0);
}

TEST_F(UpdateRun, WithoutRecordTheSuiteIsFoundOnTheDrivesOrTheRunFails)
{
    // C: is a fixed drive holding C:\Quorvex5: found without a question.
    RegDeleteTreeA(HKEY_CURRENT_USER, kProductKey);
    std::vector<std::string> asked;
    std::string report;
    ASSERT_NO_FATAL_FAILURE(report = Run({}, &asked));
    EXPECT_TRUE(asked.empty());
    EXPECT_TRUE(EndsWith(report, kOk)) << report.substr(report.size() > 600 ? report.size() - 600 : 0);
    char recorded[MAX_PATH] = {};
    DWORD size = sizeof recorded;
    RegGetValueA(HKEY_CURRENT_USER, kRecordKey, "Filename", RRF_RT_REG_SZ, nullptr, recorded, &size);
    EXPECT_STREQ(recorded, kMarker);

    // Nowhere to be found, and the user gives up the folder chooser: the
    // error reaches the report through the update run.
    fs::remove_all(kSuite);
    RegDeleteTreeA(HKEY_CURRENT_USER, kProductKey);
    asked.clear();
    ASSERT_NO_FATAL_FAILURE(report = Run({IDOK, IDCANCEL, IDOK}, &asked));
    ASSERT_GE(asked.size(), 1u);
    EXPECT_EQ(asked[0], "Répertoire Quorvex5 pas trouvé. Veuillez indiquer son emplacement.");
    EXPECT_NE(report.find("Répertoire Quorvex5 pas trouvé.\r\n\r\nLa mise à jour a échouée !"),
              std::string::npos)
        << report;
    EXPECT_EQ(exitCode, 1u);
}

// The report without its header line (it holds the time of the run) and
// with the temporary files' random numbers masked.
std::string Comparable(const std::string& report)
{
    static const std::regex temporary("Update[0-9]+\\.tmp");
    return std::regex_replace(report.substr(report.find('\n') + 1), temporary, "Update#.tmp");
}

TEST_F(UpdateRun, AMadeProgramInstallsWhatTheBuiltOneInstalls)
{
    std::string built;
    ASSERT_NO_FATAL_FAILURE(built = Run({}));
    ASSERT_TRUE(EndsWith(built, kOk));
    const auto byBuilt = Installed();
    std::size_t packaged = 0;  // the listed files and the marker
    for (const std::string& folder : PackagedFolders())
        packaged += std::distance(fs::directory_iterator(payload / folder), fs::directory_iterator());
    ASSERT_EQ(byBuilt.size(), packaged);

    TearDown();
    SetUp();
    std::string made;
    ASSERT_NO_FATAL_FAILURE(made = Run({}, nullptr, "quorvex-update-made.exe"));
    EXPECT_EQ(made.rfind("Mise à jour : Quorvex Finance  ", 0), 0u);
    EXPECT_TRUE(EndsWith(made, kOk));
    EXPECT_EQ(Differing(), 0);
    const auto byMade = Installed();
    ASSERT_EQ(byMade.size(), byBuilt.size());
    for (const auto& [path, file] : byBuilt) {
        auto it = byMade.find(path);
        ASSERT_NE(it, byMade.end()) << path;
        EXPECT_TRUE(it->second.first == file.first) << path << ": other bytes";
        EXPECT_EQ(it->second.second, file.second) << path << ": another time";
    }
    EXPECT_EQ(Comparable(made), Comparable(built));
}

}  // namespace
}  // namespace qv::test
