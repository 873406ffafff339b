#include <gmock/gmock.h>


#include "EngineFixture.h"
#include "engine/UpdateProcedures.h"
#include "engine/procedures/MargolinUpdate.h"

namespace qv {
namespace {

using testing::ElementsAre;
using testing::HasSubstr;
using testing::StartsWith;

constexpr char kMainRecordKey[] = "SOFTWARE\\QUORVEX S.A.\\Telvarin\\Program";
constexpr char kFolder[] = "C:\\Apps\\WQuorvex\\Margolin\\Programs\\";
constexpr char kProgram[] = "C:\\Apps\\WQuorvex\\Margolin\\Programs\\TVPMargolin.exe";
constexpr char kErrorLine[] = "Une erreur s'est produite lors de la mise à jour du TVPMargolin.exe\r\n";

// A Margolin package: the program, two listed files (one in a sub-folder)
// and one print-parameter list; Margolin installed beside the main product.
class MargolinUpdateTest : public test::EngineFixture {
protected:
    void SetUp() override
    {
        UsePackage({{"TVPMargolin.exe", "program v2", 2000},
                    {"Margolin.ini", "new ini", 1500},
                    {"Lang\\fr.txt", "new fr", 1500},
                    {"FileNames.txt", "Margolin.ini\r\nLang\\fr.txt\r\n", 1},
                    {"Factures.lst", "COM:1\r\nbody", 1600},
                    {"PrintLists.txt", "Factures.lst\r\n", 1}});
        files.PutFile(kProgram, "program v1", 1000);
        files.PutFile(std::string(kFolder) + "Margolin.ini", "old ini", 900);
        files.AddFolder(std::string(kFolder) + "Lang");
        RecordMainProduct("C:\\Apps\\WQuorvex\\TVP\\Programs\\TELVARIN.EXE");
    }
    void RecordMainProduct(const std::string& path)
    {
        services.registry.Seed(RegistryHive::CurrentUser, kMainRecordKey, "Filename",
                               {test::RegistryType::String, path});
    }
    UpdateStatus Run() { return UpdateMargolin(*engine, ProductKind::Margolin); }
    std::string Installed(const std::string& name)
    {
        const test::MemoryFile* f = files.Get(kFolder + name);
        return f ? f->data : "<missing>";
    }
};

TEST_F(MargolinUpdateTest, NewerPackageCopiesTheListedFilesThePrintFilesThenTheProgram)
{
    EXPECT_EQ(FindUpdateProcedure(ProductKind::Margolin), &UpdateMargolin);
    EXPECT_EQ(Run(), UpdateStatus::Ok);
    EXPECT_EQ(Installed("Margolin.ini"), "new ini");
    EXPECT_EQ(Installed("Lang\\fr.txt"), "new fr");
    EXPECT_EQ(Installed("Factures.lst"), "COM:1\r\nbody");
    EXPECT_EQ(files.Get(std::string(kFolder) + "Factures.lst")->writeTime, 1600u);
    EXPECT_EQ(Installed("TVPMargolin.exe"), "program v2");
    EXPECT_EQ(files.Get(kProgram)->writeTime, 2000u);
    ASSERT_EQ(files.copies.size(), 3u);
    EXPECT_EQ(files.copies.back(), kProgram);
    EXPECT_TRUE(User().dialogs.empty());
    // Two lines a listed copy, the print file's line and a blank, the
    // program's two lines last.
    const auto lines = report.Texts();
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[1], std::string("vers ") + kFolder + "Margolin.ini\r\n");
    EXPECT_EQ(lines[4], "Les paramètres pour l'impression : \"Factures.lst\" ont été mise à jour.");
    EXPECT_EQ(lines[5], "");
    EXPECT_THAT(lines[6], HasSubstr("Copie de C:\\TEMP\\Update"));
    EXPECT_EQ(lines[7], std::string("vers ") + kProgram + "\r\n");
}

TEST_F(MargolinUpdateTest, TheFolderComesFromTheMainProductsRecordOfEitherEdition)
{
    const struct {
        const char* record;
        const char* folder;
    } cases[] = {
        {"C:\\Apps\\WQuorvex\\TVP\\Programs\\TELVARIN.EXE", kFolder},
        {"C:\\Apps\\WQuorvex\\TVI\\Programs\\TELVARIN.EXE", kFolder},
        {"D:\\WQuorvex\\TVP\\Programs\\TELVARIN.EXE", "D:\\WQuorvex\\Margolin\\Programs\\"},
        // Nothing recorded: a relative folder, which normally does not exist.
        {"", "Margolin\\Programs\\"},
    };
    for (const auto& c : cases) {
        RecordMainProduct(c.record);
        EXPECT_EQ(MargolinFolder(services.registry), c.folder) << c.record;
    }
    RecordMainProduct("C:\\Apps\\WQuorvex\\TVI\\Programs\\TELVARIN.EXE");
    EXPECT_EQ(Run(), UpdateStatus::Ok);
    EXPECT_EQ(Installed("TVPMargolin.exe"), "program v2");
}

TEST_F(MargolinUpdateTest, AMissingProgramIsKoWithItsExpectedPathAndNothingIsCopied)
{
    const struct {
        const char* record;
        const char* expected;
    } cases[] = {
        {"C:\\Apps\\WQuorvex\\TVP\\Programs\\TELVARIN.EXE", kProgram},
        {"", "Margolin\\Programs\\TVPMargolin.exe"},
    };
    files.files.erase(UpperAscii(kProgram));
    for (const auto& c : cases) {
        RecordMainProduct(c.record);
        report.lines.clear();
        EXPECT_EQ(Run(), UpdateStatus::Ko) << c.record;
        EXPECT_THAT(report.Texts(), ElementsAre(kErrorLine + Format(texts::kProgramNotFound, {c.expected})));
    }
    EXPECT_TRUE(files.copies.empty());
    EXPECT_TRUE(User().dialogs.empty());  // nobody is asked where it is
    EXPECT_EQ(Installed("Factures.lst"), "<missing>");
}

TEST_F(MargolinUpdateTest, AKeptInstalledProgramEndsTheUpdateUntouched)
{
    const struct {
        int comparison;
        DialogResult answer;
        UpdateStatus status;
        const char* question;
    } cases[] = {
        {-1, DialogResult::No, UpdateStatus::Not, "TVPMargolin.exe présent sur votre système est plus récent"},
        {0, DialogResult::No, UpdateStatus::Not, "TVPMargolin.exe présent sur votre système est à jour."},
        // Going on with the same version copies everything, the program too.
        {0, DialogResult::Yes, UpdateStatus::Ok, "est à jour."},
        {-1, DialogResult::Yes, UpdateStatus::Ok, "plus récent"},
    };
    for (const auto& c : cases) {
        SetUp();
        // The packaged program is stamped 2000: -1 makes the installed one newer.
        files.files[UpperAscii(kProgram)].writeTime = 2000 - 1000 * c.comparison;
        User().answers = {c.answer};
        User().dialogs.clear();
        report.lines.clear();
        EXPECT_EQ(Run(), c.status) << c.question;
        ASSERT_EQ(User().dialogs.size(), 1u);
        EXPECT_THAT(User().dialogs[0].text, HasSubstr(c.question));
        const bool copied = c.status == UpdateStatus::Ok;
        EXPECT_EQ(Installed("TVPMargolin.exe"), copied ? "program v2" : "program v1") << c.question;
        EXPECT_EQ(Installed("Margolin.ini"), copied ? "new ini" : "old ini") << c.question;
        EXPECT_EQ(Installed("Factures.lst"), copied ? "COM:1\r\nbody" : "<missing>") << c.question;
        if (!copied) {
            EXPECT_EQ(report.lines.size(), 2u);  // the "pas remplacé" lines only
        }
    }
}

TEST_F(MargolinUpdateTest, AFailedListedCopyIsAWarningWithoutPrintFilesOrProgram)
{
    files.folders.erase(UpperAscii(std::string(kFolder) + "Lang"));
    EXPECT_EQ(Run(), UpdateStatus::Warning);
    EXPECT_EQ(Installed("Margolin.ini"), "new ini");  // the others still go
    EXPECT_EQ(Installed("Lang\\fr.txt"), "<missing>");
    EXPECT_EQ(Installed("Factures.lst"), "<missing>");
    EXPECT_EQ(Installed("TVPMargolin.exe"), "program v1");
    // The two copies' lines, then which file failed and why.
    ASSERT_EQ(report.lines.size(), 5u);
    EXPECT_THAT(report.lines.back().text,
                StartsWith("Le fichier " + std::string(kFolder) + "Lang\\fr.txt n'a pas pu être copié :\r\n"
                           "Erreur système.  Code : 3.\r\n"));
}

TEST_F(MargolinUpdateTest, FailuresAfterTheListedCopiesAreKoAndKeepTheOldProgram)
{
    // A print file that cannot be written: the import's one message.
    files.refusedCreates.insert(UpperAscii(std::string(kFolder) + "Factures.lst"));
    EXPECT_EQ(Run(), UpdateStatus::Ko);
    EXPECT_EQ(report.lines.back().text, std::string(kErrorLine) + "Cannot import resource files");
    EXPECT_EQ(Installed("TVPMargolin.exe"), "program v1");

    // The program's own copy fails: its copy error.
    files.refusedCreates.clear();
    SetUp();
    files.Get(kProgram);
    files.files[UpperAscii(kProgram)].locked = true;
    report.lines.clear();
    EXPECT_EQ(Run(), UpdateStatus::Ko);
    EXPECT_THAT(report.lines.back().text, HasSubstr(std::string(kErrorLine) + "Source: C:\\TEMP\\Update"));
    EXPECT_THAT(report.lines.back().text, HasSubstr(std::string("Target: ") + kProgram + "\r\n\r\nError: "));
    files.files[UpperAscii(kProgram)].locked = false;
    EXPECT_EQ(Installed("TVPMargolin.exe"), "program v1");
}

TEST_F(MargolinUpdateTest, WithoutPrintListsOnlyTheListedFilesAndTheProgramAreCopied)
{
    UsePackage({{"TVPMargolin.exe", "program v2", 2000},
                {"Margolin.ini", "new ini", 1500},
                {"FileNames.txt", "Margolin.ini\r\n", 1}});
    EXPECT_EQ(Run(), UpdateStatus::Ok);
    EXPECT_THAT(files.copies, ElementsAre(std::string(kFolder) + "Margolin.ini", kProgram));
    EXPECT_EQ(report.lines.size(), 4u);
}

TEST_F(MargolinUpdateTest, APackageWithoutTheProgramRaisesToTheRun)
{
    UsePackage({{"FileNames.txt", "Margolin.ini\r\n", 1}, {"Margolin.ini", "x", 1}});
    try {
        Run();
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.Message(), "Cannot find TVPMargolin.exe");
    }
    EXPECT_TRUE(report.lines.empty());
    EXPECT_EQ(Installed("TVPMargolin.exe"), "program v1");
}

}  // namespace
}  // namespace qv
