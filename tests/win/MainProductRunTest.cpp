// The update of the main product as a person runs it: the real program,
// carrying TELVARIN.EXE at 1.0.4.0 and its library, on an installation
// under a products root of the tests' prefix with its registry record,
// walked through its windows; what is on disk afterwards, and the report.
// No Firebird client is installed here: the print lists end on its refusal.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

#include "ScratchFolder.h"
#include "WizardRun.h"

namespace fs = std::filesystem;

namespace qv::test {
namespace {

constexpr char kProductsRoot[] = "C:\\QvMainProductRun\\WQuorvex";
const std::string kPrograms = std::string(kProductsRoot) + "\\TVP\\Programs\\";
const std::string kProgram = kPrograms + "TELVARIN.EXE";
const std::string kLibrary = kPrograms + "QUORVEX.DLL";
// The product's own keys: the tests remove only these, never the vendor's
// whole key, which other products' records and tests share.
constexpr char kProductKey[] = "Software\\QUORVEX S.A.\\Telvarin";
constexpr char kRecordKey[] = "Software\\QUORVEX S.A.\\Telvarin\\Program";
constexpr char kDatabaseKey[] = "Software\\QUORVEX S.A.\\Telvarin\\Default\\TVP_DatabaseName";
// The packaged files, as the build gathered them.
const std::string kPackaged = QV_TELVARIN_PACKAGE;


std::uint64_t WriteTime(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return (std::uint64_t(data.ftLastWriteTime.dwHighDateTime) << 32) |
           data.ftLastWriteTime.dwLowDateTime;
}

class MainProductRun : public ::testing::Test {
protected:
    // TELVARIN.EXE at the installed version (a fixture) and, when asked,
    // an older library beside it; the record of the program.
    void Install(const std::string& installedVersion, bool withLibrary)
    {
        fs::remove_all(kProductsRoot);
        fs::create_directories(kPrograms);
        ASSERT_TRUE(CopyFileA(FixturePath(installedVersion).c_str(), kProgram.c_str(), FALSE))
            << installedVersion;
        if (withLibrary) {
            HANDLE h = CreateFileA(kLibrary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
            DWORD written = 0;
            WriteFile(h, "old", 3, &written, nullptr);
            CloseHandle(h);
        }
        ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, kRecordKey, "Filename", REG_SZ,
                                  kProgram.c_str(), static_cast<DWORD>(kProgram.size() + 1)),
                  ERROR_SUCCESS);
    }
    void TearDown() override
    {
        fs::remove_all(kProductsRoot);
        RegDeleteTreeA(HKEY_CURRENT_USER, kProductKey);
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kProductKey, 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY, &key) ==
            ERROR_SUCCESS) {
            RegDeleteTreeA(key, nullptr);
            RegCloseKey(key);
            RegDeleteKeyExA(HKEY_LOCAL_MACHINE, kProductKey, KEY_WOW64_32KEY, 0);
        }
    }

    // The installed file has the packaged bytes and time stamp.
    void ExpectPackaged(const std::string& installed, const std::string& name)
    {
        const std::string packaged = kPackaged + "\\" + name;
        EXPECT_EQ(ReadFileOrMissing(installed), ReadFileOrMissing(packaged)) << installed;
        EXPECT_EQ(WriteTime(installed), WriteTime(packaged)) << installed;
    }

    OwnTemporaryFolder temporary{"qv-main-product-run"};
};

// The package's program is newer: replaced without a question, the library
// beside it only where it is installed; no print lists, so the run is Ok.
TEST_F(MainProductRun, ANewerProgramIsReplacedWithTheLibraryWhereInstalled)
{
    for (bool withLibrary : {true, false}) {
        SCOPED_TRACE(withLibrary ? "library installed" : "no library installed");
        ASSERT_NO_FATAL_FAILURE(Install("v1039.dll", withLibrary));
        std::vector<std::string> asked;
        std::string report;
        DWORD exitCode = STILL_ACTIVE;
        ASSERT_NO_FATAL_FAILURE(
            RunWizard("quorvex-update-telvarin.exe", {}, &asked, report, "", &exitCode));

        EXPECT_TRUE(asked.empty()) << asked.front();
        EXPECT_EQ(report.rfind("Mise à jour : Telvarin  ", 0), 0u) << report;
        EXPECT_TRUE(EndsWith(report, kOk)) << report;
        EXPECT_EQ(exitCode, 0u);
        ExpectPackaged(kProgram, "TELVARIN.EXE");
        EXPECT_NE(report.find("vers " + kProgram + "\r\n"), std::string::npos) << report;
        if (withLibrary) {
            ExpectPackaged(kLibrary, "QUORVEX.DLL");
            EXPECT_NE(report.find("vers " + kLibrary + "\r\n"), std::string::npos) << report;
        } else {
            EXPECT_FALSE(fs::exists(kLibrary));
            EXPECT_EQ(report.find("QUORVEX.DLL"), std::string::npos) << report;
        }
        TearDown();
    }
}

// The installed program (3.1.2.7) is newer than the package's; the user
// keeps it: nothing is copied, the library stays as it was.
TEST_F(MainProductRun, KeepingANewerInstalledProgramLeavesEverythingAsItWas)
{
    ASSERT_NO_FATAL_FAILURE(Install("v3127.dll", true));
    std::vector<std::string> asked;
    std::string report;
    DWORD exitCode = STILL_ACTIVE;
    ASSERT_NO_FATAL_FAILURE(
        RunWizard("quorvex-update-telvarin.exe", {IDNO}, &asked, report, "", &exitCode));

    ASSERT_EQ(asked.size(), 1u);
    EXPECT_NE(asked[0].find("TELVARIN.EXE présent sur votre système est plus récent"),
              std::string::npos)
        << asked[0];
    EXPECT_TRUE(EndsWith(report, kNot)) << report;
    EXPECT_EQ(exitCode, 3u);
    EXPECT_NE(report.find("Le fichier " + kProgram + "\r\nn'est pas remplacé !!!"),
              std::string::npos)
        << report;
    EXPECT_EQ(report.find("Copie de"), std::string::npos) << report;
    EXPECT_EQ(ReadFileOrMissing(kProgram), ReadFileOrMissing(FixturePath("v3127.dll")));
    EXPECT_EQ(ReadFileOrMissing(kLibrary), "old");
}

// With print lists and a database recorded, the import needs a Firebird
// client; the workstation has none acceptable: the files are replaced, the
// import is refused, and the run fails under the library's name.
TEST_F(MainProductRun, PrintListsWithoutAFirebirdClientFailTheRunAfterTheFiles)
{
    ASSERT_NO_FATAL_FAILURE(Install("v1039.dll", true));
    const std::string database = "localhost:C:\\QUORVEX\\DB\\TVP.FDB";
    // In the view of the products, which are 32-bit, as the program reads it.
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kDatabaseKey, 0, nullptr, 0,
                              KEY_SET_VALUE | KEY_WOW64_32KEY, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExA(key, "Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(database.c_str()),
                             static_cast<DWORD>(database.size() + 1)),
              ERROR_SUCCESS);
    RegCloseKey(key);
    std::vector<std::string> asked;
    std::string report;
    DWORD exitCode = STILL_ACTIVE;
    ASSERT_NO_FATAL_FAILURE(
        RunWizard("quorvex-update-telvarin-prints.exe", {}, &asked, report, "", &exitCode));

    EXPECT_NE(report.find("Une erreur s'est produite lors de la mise à jour du QUORVEX.DLL\r\n"
                          "Cannot import resource files"),
              std::string::npos)
        << report;
    EXPECT_TRUE(EndsWith(report, kKo)) << report;
    EXPECT_EQ(exitCode, 2u);
    ExpectPackaged(kProgram, "TELVARIN.EXE");
    ExpectPackaged(kLibrary, "QUORVEX.DLL");
}

}  // namespace
}  // namespace qv::test
