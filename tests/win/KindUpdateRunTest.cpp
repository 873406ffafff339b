// The updates of Kalvisto, the PDF library and Margolin as a person runs
// them: the real program with a small package of each kind (made by the
// build with qvpack make), on an installation the test lays out in the
// prefix, walked through its windows; then the files on disk and the report.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "BoundedWait.h"
#include "ControlIds.h"
#include "ScratchFolder.h"
#include "WizardDriver.h"
#include "WizardRun.h"

namespace fs = std::filesystem;

namespace qv::test {
namespace {

using namespace qv::wizard;

constexpr char kRoot[] = "C:\\qv-kind-tests";
constexpr char kVendorKey[] = "Software\\QUORVEX S.A.\\";

bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

std::uint64_t WriteTime(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return (std::uint64_t(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
}

std::string SystemFolderPath()
{
    char folder[MAX_PATH] = {};
    GetSystemDirectoryA(folder, MAX_PATH);
    return std::string(folder) + "\\";
}

class KindUpdateRun : public ::testing::Test {
protected:
    const fs::path packages = QV_KIND_PACKAGES_DIR;

    void SetUp() override
    {
        fs::remove_all(kRoot);
        fs::create_directories(kRoot);
        // The wizard gets a temporary folder of its own, where nothing of
        // the run may be left.
        temporary_.emplace("qv-kind-run");
    }
    void TearDown() override
    {
        fs::remove_all(kRoot);
        for (const char* product : {"Kalvisto", "Telvarin"})
            RegDeleteTreeA(HKEY_CURRENT_USER, (std::string(kVendorKey) + product).c_str());
        temporary_.reset();
    }

    void Record(const std::string& product, const std::string& key, const char* value,
                const std::string& data)
    {
        RegSetKeyValueA(HKEY_CURRENT_USER, (kVendorKey + product + key).c_str(), value, REG_SZ,
                        data.c_str(), static_cast<DWORD>(data.size() + 1));
    }
    static void Install(const std::string& fixture, const std::string& target)
    {
        fs::create_directories(fs::path(target).parent_path());
        ASSERT_TRUE(CopyFileA(FixturePath(fixture).c_str(), target.c_str(), FALSE)) << target;
    }

    // Runs the program to its report: Suivant, Démarrer, each message box
    // answered in turn from answers (OK once they are used up). The boxes'
    // texts go to asked.
    std::string Run(const char* program, std::vector<int> answers, std::vector<std::string>& asked)
    {
        asked.clear();
        std::string report;
        RunWizard(program, std::move(answers), &asked, report, "", &exitCode);
        return report;
    }

    // The installed file holds the packaged bytes with the packaged time.
    ::testing::AssertionResult AsPackaged(const std::string& installed, const std::string& package,
                                          const std::string& name)
    {
        const std::string packaged = (packages / package / name).string();
        if (ReadFileOrMissing(installed) != ReadFileOrMissing(packaged))
            return ::testing::AssertionFailure() << installed << " does not hold the packaged bytes";
        if (WriteTime(installed) != WriteTime(packaged))
            return ::testing::AssertionFailure() << installed << " lacks the packaged time";
        return ::testing::AssertionSuccess();
    }
    int TemporaryFilesLeft()
    {
        int left = 0;
        for (const auto& item : fs::directory_iterator(temporary_->Path()))
            left += item.path().filename().string().rfind("Update", 0) == 0;
        return left;
    }

    // The exit code of the last Run (0 Ok, 1 an error reached the run, 2 Ko,
    // 3 Not, 4 Warning).
    DWORD exitCode = STILL_ACTIVE;
    std::optional<OwnTemporaryFolder> temporary_;
};

TEST_F(KindUpdateRun, KalvistoThreeIsReplacedAndOtherVersionsAreRefused)
{
    const std::string base = std::string(kRoot) + "\\Kalvisto";
    const std::string program = base + "\\Kalvisto.exe";
    Record("Kalvisto", "", "BaseFolder", base);  // without its backslash
    ASSERT_NO_FATAL_FAILURE(Install("kalvisto3.dll", program));  // 3.0.1.0, the package 3.1.2.7
    std::vector<std::string> asked;
    std::string report;
    ASSERT_NO_FATAL_FAILURE(report = Run("quorvex-update-kalvisto.exe", {}, asked));
    EXPECT_EQ(report.rfind("Mise à jour : Kalvisto  ", 0), 0u) << report;
    EXPECT_TRUE(EndsWith(report, kOk)) << report;
    EXPECT_EQ(exitCode, 0u);
    EXPECT_TRUE(Contains(report, "vers " + program + "\r\n")) << report;
    EXPECT_TRUE(asked.empty());
    EXPECT_TRUE(AsPackaged(program, "kalvisto", "Kalvisto.exe"));
    EXPECT_EQ(TemporaryFilesLeft(), 0);

    // Another major version, or none: an error box, the report says why,
    // the installed file stays as it was.
    for (const char* fixture : {"kalvisto2.dll", "kalvisto4.dll", "noversion.dll"}) {
        ASSERT_NO_FATAL_FAILURE(Install(fixture, program));
        ASSERT_NO_FATAL_FAILURE(report = Run("quorvex-update-kalvisto.exe", {}, asked));
        ASSERT_EQ(asked.size(), 1u) << fixture;
        EXPECT_TRUE(Contains(asked[0], "Version du fichier inconnue ou incompatible.")) << asked[0];
        EXPECT_TRUE(Contains(report, program + "\r\nVersion du fichier inconnue ou incompatible.\r\n\r\n" + kKo))
            << fixture << ": " << report;
        EXPECT_EQ(exitCode, 1u) << fixture;
        EXPECT_EQ(ReadFileOrMissing(program), ReadFileOrMissing(FixturePath(fixture))) << fixture;
    }
}

TEST_F(KindUpdateRun, ThePdfLibraryIsReplacedInTheSystemFolderOnlyWhereItIs)
{
    const std::string library = SystemFolderPath() + "wPDF200A.dll";
    ASSERT_NO_FATAL_FAILURE(Install("v1039.dll", library));  // the package holds 1.0.4.0
    std::vector<std::string> asked;
    std::string report;
    EXPECT_NO_FATAL_FAILURE(report = Run("quorvex-update-pdf.exe", {}, asked));
    EXPECT_TRUE(EndsWith(report, kOk)) << report;
    EXPECT_TRUE(asked.empty());
    EXPECT_TRUE(AsPackaged(library, "pdf", "wPDF200A.dll"));

    // The same package again: the "à jour" question; No keeps it.
    EXPECT_NO_FATAL_FAILURE(report = Run("quorvex-update-pdf.exe", {IDNO}, asked));
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_TRUE(Contains(asked[0], "wPDF200A.dll présent sur votre système est à jour.")) << asked[0];
    EXPECT_TRUE(EndsWith(report, kNot)) << report;
    EXPECT_EQ(exitCode, 3u);

    // Not installed: not found, and not installed either.
    DeleteFileA(library.c_str());
    EXPECT_NO_FATAL_FAILURE(report = Run("quorvex-update-pdf.exe", {}, asked));
    EXPECT_EQ(asked.size(), 1u) << (asked.empty() ? "" : asked.back());
    EXPECT_TRUE(Contains(report, "Fichier pas trouvé : " + library + "\r\n\r\n" + kKo)) << report;
    EXPECT_EQ(exitCode, 1u);
    EXPECT_EQ(GetFileAttributesA(library.c_str()), INVALID_FILE_ATTRIBUTES);
    DeleteFileA(library.c_str());
}

TEST_F(KindUpdateRun, MargolinGetsItsListedFilesPrintFilesAndProgramBesideTheMainProduct)
{
    const std::string products = std::string(kRoot) + "\\WQuorvex";
    const std::string folder = products + "\\Margolin\\Programs\\";
    Record("Telvarin", "\\Program", "Filename", products + "\\TVI\\Programs\\TELVARIN.EXE");
    ASSERT_NO_FATAL_FAILURE(Install("v1039.dll", folder + "TVPMargolin.exe"));
    fs::create_directories(folder + "Aide");
    std::vector<std::string> asked;
    std::string report;
    ASSERT_NO_FATAL_FAILURE(report = Run("quorvex-update-margolin.exe", {}, asked));
    EXPECT_EQ(report.rfind("Mise à jour : Margolin  ", 0), 0u) << report;
    EXPECT_TRUE(EndsWith(report, kOk)) << report;
    EXPECT_TRUE(asked.empty());
    for (const char* name : {"Margolin.ini", "Aide\\margolin.txt", "Factures.lst", "TVPMargolin.exe"})
        EXPECT_TRUE(AsPackaged(folder + name, "margolin", name));
    EXPECT_TRUE(Contains(report, "Les paramètres pour l'impression : \"Factures.lst\" ont été mise à jour."));
    // The program is copied last.
    EXPECT_EQ(report.rfind("vers "), report.find("vers " + folder + "TVPMargolin.exe")) << report;
    EXPECT_EQ(TemporaryFilesLeft(), 0);

    // A listed file that cannot be copied: a warning, and the old program
    // stays, so that the next run repeats everything.
    ASSERT_NO_FATAL_FAILURE(Install("v1039.dll", folder + "TVPMargolin.exe"));
    fs::remove_all(folder + "Aide");
    EXPECT_NO_FATAL_FAILURE(report = Run("quorvex-update-margolin.exe", {}, asked));
    EXPECT_TRUE(EndsWith(report, kWarning)) << report;
    EXPECT_EQ(exitCode, 4u);
    EXPECT_EQ(ReadFileOrMissing(folder + "TVPMargolin.exe"), ReadFileOrMissing(FixturePath("v1039.dll")));

    // No program where the main product's record leads: Ko, nobody asked.
    fs::remove(folder + "TVPMargolin.exe");
    EXPECT_NO_FATAL_FAILURE(report = Run("quorvex-update-margolin.exe", {}, asked));
    EXPECT_TRUE(asked.empty());
    EXPECT_TRUE(Contains(report, "Une erreur s'est produite lors de la mise à jour du TVPMargolin.exe\r\n"
                                 "Programme " + folder + "TVPMargolin.exe pas trouvé."))
        << report;
    EXPECT_TRUE(EndsWith(report, kKo)) << report;
    EXPECT_EQ(exitCode, 2u);
}

}  // namespace
}  // namespace qv::test
