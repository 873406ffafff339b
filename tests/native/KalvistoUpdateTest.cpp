#include <gmock/gmock.h>

#include <optional>
#include <vector>

#include "EngineFixture.h"
#include "engine/UpdateProcedures.h"
#include "engine/procedures/KalvistoUpdate.h"

namespace qv {
namespace {

using testing::ElementsAre;
using testing::HasSubstr;

constexpr char kKalvistoKey[] = "SOFTWARE\\QUORVEX S.A.\\Kalvisto";
constexpr char kInstalled[] = "C:\\Kalvisto\\Kalvisto.exe";
constexpr char kLibrary[] = "C:\\WINDOWS\\system32\\wPDF200A.dll";

// Kalvisto 3 installed in C:\Kalvisto, its base folder recorded; the PDF
// library in the system folder. The package holds both files, newer.
class KalvistoUpdateTest : public test::EngineFixture {
protected:
    void SetUp() override
    {
        UsePackage({{"Kalvisto.exe", "kalvisto 3.0.12.5", 2000},
                    {"wPDF200A.dll", "pdf new", 2000}});
        Install(kInstalled, FileVersionParts{3, 0, 1, 0});
        Install(kLibrary, FileVersionParts{2, 0, 0, 1});
        RecordBaseFolder("C:\\Kalvisto");
    }
    void Install(const std::string& path, std::optional<FileVersionParts> version)
    {
        files.PutFile(path, "old", 1000);
        if (version)
            files.versions[UpperAscii(path)] = *version;
        else
            files.versions.erase(UpperAscii(path));
    }
    void RecordBaseFolder(const std::string& folder)
    {
        services.registry.Seed(RegistryHive::CurrentUser, kKalvistoKey, "BaseFolder",
                               {test::RegistryType::String, folder});
    }
    std::string Content(const std::string& path)
    {
        const test::MemoryFile* f = files.Get(path);
        return f ? f->data : "<missing>";
    }
    // The message of the error that procedure raises, or "" when none.
    std::string RaisedBy(UpdateProcedure procedure, ProductKind kind)
    {
        try {
            procedure(*engine, kind);
        } catch (const Error& e) {
            return e.Message();
        }
        return {};
    }
    std::string RaisedByKalvisto() { return RaisedBy(&UpdateKalvisto, ProductKind::Kalvisto); }
};

TEST_F(KalvistoUpdateTest, TheDispatchTableHoldsBothProcedures)
{
    EXPECT_EQ(FindUpdateProcedure(ProductKind::Kalvisto), &UpdateKalvisto);
    EXPECT_EQ(FindUpdateProcedure(ProductKind::PdfLibrary), &UpdatePdfLibrary);
}

TEST_F(KalvistoUpdateTest, TheBaseFolderGivesTheSameTargetWithOrWithoutBackslash)
{
    for (const char* base : {"C:\\Kalvisto", "C:\\Kalvisto\\"}) {
        SetUp();
        RecordBaseFolder(base);
        report.lines.clear();
        EXPECT_EQ(UpdateKalvisto(*engine, ProductKind::Kalvisto), UpdateStatus::Ok) << base;
        EXPECT_EQ(Content(kInstalled), "kalvisto 3.0.12.5") << base;
        EXPECT_EQ(files.Get(kInstalled)->writeTime, 2000u);
        ASSERT_EQ(report.lines.size(), 2u);
        EXPECT_EQ(report.lines[1].text, std::string("vers ") + kInstalled + "\r\n");
    }
}

TEST_F(KalvistoUpdateTest, AnInstalledProgramOfAnotherMajorVersionIsRefusedUntouched)
{
    const std::optional<FileVersionParts> refused[] = {
        FileVersionParts{2, 5, 0, 1}, FileVersionParts{4, 0, 0, 1}, std::nullopt};
    for (const auto& version : refused) {
        Install(kInstalled, version);
        // Even though the package is newer (stamped later, the packaged file
        // without a version).
        EXPECT_EQ(RaisedByKalvisto(),
                  std::string(kInstalled) + "\r\nVersion du fichier inconnue ou incompatible.")
            << (version ? version->major : 0);
        EXPECT_EQ(Content(kInstalled), "old");
    }
    EXPECT_TRUE(files.copies.empty());
    EXPECT_TRUE(report.lines.empty());
    EXPECT_TRUE(User().dialogs.empty());
}

TEST_F(KalvistoUpdateTest, AMissingInstallationOrPackagedFileIsRaisedToTheRun)
{
    // No base folder recorded: the message has nothing between its blanks.
    services.registry.DeleteRegistryKey(RegistryHive::CurrentUser, kKalvistoKey);
    EXPECT_EQ(RaisedByKalvisto(), "Programme  pas trouvé.");
    // A base folder without the program.
    RecordBaseFolder("D:\\Ailleurs\\");
    EXPECT_EQ(RaisedByKalvisto(), "Programme D:\\Ailleurs\\Kalvisto.exe pas trouvé.");
    // The library not in the shared system folder, although the Windows
    // folder holds one: it is never installed where it is missing.
    files.files.erase(UpperAscii(kLibrary));
    files.PutFile("C:\\WINDOWS\\wPDF200A.dll", "old", 1000);
    EXPECT_EQ(RaisedBy(&UpdatePdfLibrary, ProductKind::PdfLibrary),
              std::string("Fichier pas trouvé : ") + kLibrary);
    EXPECT_EQ(Content(kLibrary), "<missing>");
    EXPECT_EQ(Content("C:\\WINDOWS\\wPDF200A.dll"), "old");
    // Packages without their file.
    UsePackage({{"Updates.txt", "Kalvisto", 1}});
    EXPECT_EQ(RaisedByKalvisto(), "Cannot find Kalvisto.exe");
    EXPECT_EQ(RaisedBy(&UpdatePdfLibrary, ProductKind::PdfLibrary), "Cannot find wPDF200A.dll");
    EXPECT_TRUE(report.lines.empty());
    EXPECT_TRUE(files.copies.empty());
}

TEST_F(KalvistoUpdateTest, TheLibraryGoesWhereverTheSharedSystemFolderIs)
{
    // An unwritable system folder outside the Windows folder makes the
    // Windows folder the shared one.
    files.sharedSystemFolder = "C:\\WINDOWS\\";
    Install("C:\\WINDOWS\\wPDF200A.dll", FileVersionParts{2, 0, 0, 1});
    EXPECT_EQ(UpdatePdfLibrary(*engine, ProductKind::PdfLibrary), UpdateStatus::Ok);
    EXPECT_EQ(Content("C:\\WINDOWS\\wPDF200A.dll"), "pdf new");
    EXPECT_EQ(Content(kLibrary), "old");
}

// The outcome of the comparison and of the copy, the same for both.
TEST_F(KalvistoUpdateTest, BothReplaceUnderTheVersionAndDateRules)
{
    const struct {
        int comparison;
        std::vector<DialogResult> answers;
        bool locked;
        UpdateStatus status;
        bool replaced;
    } cases[] = {
        {1, {}, false, UpdateStatus::Ok, true},
        {-1, {DialogResult::No}, false, UpdateStatus::Not, false},
        {-1, {DialogResult::Yes}, false, UpdateStatus::Ok, true},
        {0, {DialogResult::No}, false, UpdateStatus::Not, false},
        {0, {DialogResult::Yes}, false, UpdateStatus::Ok, false},  // goes on, copies nothing
        {1, {}, true, UpdateStatus::Ko, false},                    // the copy fails
    };
    const struct {
        UpdateProcedure procedure;
        ProductKind kind;
        const char* installed;
        const char* packaged;
    } procedures[] = {
        {&UpdateKalvisto, ProductKind::Kalvisto, kInstalled, "kalvisto 3.0.12.5"},
        {&UpdatePdfLibrary, ProductKind::PdfLibrary, kLibrary, "pdf new"},
    };
    for (const auto& p : procedures)
        for (const auto& c : cases) {
            SetUp();
            // The packaged file has no version and is stamped 2000: the
            // times decide, 1 makes it newer.
            files.files[UpperAscii(p.installed)].writeTime = 2000 - 1000 * c.comparison;
            files.files[UpperAscii(p.installed)].locked = c.locked;
            User().answers.assign(c.answers.begin(), c.answers.end());
            User().dialogs.clear();
            EXPECT_EQ(p.procedure(*engine, p.kind), c.status) << p.installed << " " << c.comparison;
            EXPECT_EQ(User().dialogs.size(), c.answers.size());
            files.files[UpperAscii(p.installed)].locked = false;
            EXPECT_EQ(Content(p.installed), c.replaced ? p.packaged : "old")
                << p.installed << " " << c.comparison;
        }
}

}  // namespace
}  // namespace qv
