// The whole update as a person runs it: the real quorvex-update.exe, with
// this build's package, on a Quorvex Finance installation prepared in
// C:\Quorvex5 of the tests' prefix, walked through its windows; and the same
// package made by qvpack make, which must install the same.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <regex>
#include <string>

#include "WizardRun.h"

namespace fs = std::filesystem;

namespace qv::test {
namespace {

using namespace qv::wizard;

constexpr char kSuite[] = "C:\\Quorvex5";
constexpr char kMarker[] = "C:\\Quorvex5\\gs\\GS-00.int";
constexpr char kRecordKey[] = "Software\\QUORVEX S.A.\\Quorvex Finance\\Program";
// The product's own key: the tests remove only this, never the vendor's
// whole key, which other products' records and tests share.
constexpr char kProductKey[] = "Software\\QUORVEX S.A.\\Quorvex Finance";
constexpr char kOk[] = "La mise à jour est terminée avec succès.";
constexpr char kNot[] = "La mise à jour n'a pas été effectuée.";
constexpr char kWarning[] = "La mise à jour a été effectuée mais avec des avertissements !";

FILETIME Time(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
    return data.ftLastWriteTime;
}

class UpdateRun : public ::testing::Test {
protected:
    const fs::path payload = QV_PAYLOAD_DIR;

    // The package's folders, as the build generated its payload (gs,
    // images07 and util in this build).
    std::vector<std::string> PackagedFolders() const
    {
        std::vector<std::string> folders;
        for (const auto& item : fs::directory_iterator(payload))
            if (item.is_directory())
                folders.push_back(item.path().filename().string());
        std::sort(folders.begin(), folders.end());
        return folders;
    }

    // An installation older than the package: the files of every packaged
    // folder but the second with other content and a 2019 time stamp, that
    // folder missing, the record in HKCU.
    void SetUp() override
    {
        fs::remove_all(kSuite);
        FILETIME old{};
        SYSTEMTIME st{2019, 3, 5, 1, 8, 0, 0, 0};
        SystemTimeToFileTime(&st, &old);
        std::vector<std::string> installed = PackagedFolders();
        ASSERT_GE(installed.size(), 2u) << "no folder the installation lacks";
        installed.erase(installed.begin() + 1);
        for (const std::string& folder : installed) {
            fs::create_directories(fs::path(kSuite) / folder);
            for (const auto& item : fs::directory_iterator(payload / folder)) {
                std::string target = std::string(kSuite) + "\\" + folder + "\\" +
                                     item.path().filename().string();
                HANDLE h = CreateFileA(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr);
                DWORD written = 0;
                WriteFile(h, "old", 3, &written, nullptr);
                SetFileTime(h, nullptr, nullptr, &old);
                CloseHandle(h);
            }
        }
        RegSetKeyValueA(HKEY_CURRENT_USER, kRecordKey, "Filename", REG_SZ, kMarker,
                        sizeof kMarker);
    }
    void TearDown() override
    {
        fs::remove_all(kSuite);
        RegDeleteTreeA(HKEY_CURRENT_USER, kProductKey);
    }

    OwnTemporaryFolder temporary{"qv-update-run"};

    // Runs the wizard to its report: Suivant, Démarrer, then each question
    // answered in turn from answers (IDYES / IDNO). Returns the report. A
    // step that does not come stops the test there (call it inside
    // ASSERT_NO_FATAL_FAILURE).
    std::string Run(std::vector<int> answers, std::vector<std::string>* asked = nullptr,
                    const char* program = "quorvex-update.exe")
    {
        std::string report;
        RunWizard(program, std::move(answers), asked, report);
        return report;
    }

    // Every listed file and the marker equal their packaged bytes and time.
    int Differing()
    {
        int differing = 0;
        for (const std::string& folder : PackagedFolders())
            for (const auto& item : fs::directory_iterator(payload / folder)) {
                std::string installed = std::string(kSuite) + "\\" + folder + "\\" +
                                        item.path().filename().string();
                FILETIME a = Time(installed), b = Time(item.path().string());
                if (ReadFileOrMissing(installed) != ReadFileOrMissing(item.path().string()) ||
                    CompareFileTime(&a, &b) != 0)
                    ++differing;
            }
        return differing;
    }

    // Every file of the installation: its bytes and last-write time.
    std::map<std::string, std::pair<std::string, std::uint64_t>> Installed()
    {
        std::map<std::string, std::pair<std::string, std::uint64_t>> files;
        for (const auto& item : fs::recursive_directory_iterator(kSuite))
            if (item.is_regular_file()) {
                FILETIME t = Time(item.path().string());
                files[item.path().string()] = {ReadFileOrMissing(item.path().string()),
                                               (std::uint64_t(t.dwHighDateTime) << 32) | t.dwLowDateTime};
            }
        return files;
    }
};

TEST_F(UpdateRun, NewerPackageThenTheSamePackageTwice)
{
    std::string report;
    ASSERT_NO_FATAL_FAILURE(report = Run({}));
    EXPECT_TRUE(EndsWith(report, kOk)) << report.substr(report.size() > 300 ? report.size() - 300 : 0);
    EXPECT_EQ(report.rfind("Mise à jour : Quorvex Finance  ", 0), 0u);
    EXPECT_EQ(Differing(), 0);

    // The same package again: the "à jour" question; No changes nothing.
    std::vector<std::string> asked;
    ASSERT_NO_FATAL_FAILURE(report = Run({IDNO}, &asked));
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_NE(asked[0].find("GS-00.int présent sur votre système est à jour."), std::string::npos);
    EXPECT_TRUE(EndsWith(report, kNot));
    EXPECT_NE(report.find("est à jour : il n'est pas remplacé."), std::string::npos);
    EXPECT_EQ(report.find("Copie de"), std::string::npos);

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
