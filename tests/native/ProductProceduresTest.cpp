// The update procedures of the products that keep a program of their own
// and a database (the main product's two editions, Repertex, Obrenta,
// Dravik), on an installation in memory: what each replaces, what it leaves
// alone, what it reports and which errors reach the update run.
#include <gmock/gmock.h>

#include <algorithm>
#include <functional>

#include "EngineFixture.h"
#include "engine/ProductCatalogue.h"
#include "engine/UpdateProcedures.h"
#include "engine/procedures/DravikUpdate.h"
#include "engine/procedures/MainProductUpdate.h"
#include "engine/procedures/ObrentaUpdate.h"
#include "engine/procedures/RepertexUpdate.h"

namespace qv {
namespace {

using testing::ElementsAreArray;
using Lines = std::vector<std::string>;

constexpr char kRoot[] = "C:\\Apps\\WQuorvex\\";
const std::string kTelvarin = std::string(kRoot) + "TVP\\Programs\\TELVARIN.EXE";
const std::string kTelvarinDll = std::string(kRoot) + "TVP\\Programs\\QUORVEX.DLL";
const std::string kIngenieur = std::string(kRoot) + "TVI\\Programs\\TELVARIN.EXE";
const std::string kRepertex = std::string(kRoot) + "Repertex\\Programs\\TVRepertex2.dll";
const std::string kObrentaFolder = std::string(kRoot) + "Obrenta\\Programs\\";
const std::string kObrenta = kObrentaFolder + "Obrenta.exe";
const std::string kDravik = std::string(kRoot) + "Dravik\\Programs\\Dravik.exe";

constexpr FileTime kInstalledTime = 1000;
constexpr FileTime kPackagedTime = 2000;

// What the import adds to the report when the package has lists and the
// workstation records no database (the company "Default" alone).
const Lines kNoDatabaseLines = {
    "\r\nMise à jour de listes pour la société Default",
    "La société Default n'est pas trouvé, mise à jour des listes non effectuée."};

std::string ProgramKey(const std::string& product)
{
    return std::string(kMakerRootKey) + product + "\\Program";
}

// One procedure on the installation of the fixture.
struct Procedure {
    ProductKind kind;
    UpdateProcedure expected;        // the dispatch table's entry
    std::string packaged;            // its required packaged file
    std::string program;             // the installed file it compares
    Lines companions;                // installed files copied after it, in order
    std::string importName;          // the error line's name during the import
    // Where a company's database is recorded for the kind (machine-wide).
    std::string databaseKey;
    std::string databaseValue;
};

const Procedure kProcedures[] = {
    {ProductKind::Telvarin, &UpdateMainProduct, "TELVARIN.EXE", kTelvarin, {kTelvarinDll},
     "QUORVEX.DLL", "Telvarin\\Default\\TVP_DatabaseName", "Path"},
    // The edition's own folder under the root that the first edition's
    // record gives; no library is installed there.
    {ProductKind::TelvarinIngenieur, &UpdateMainProduct, "TELVARIN.EXE", kIngenieur, {},
     "QUORVEX.DLL", "Telvarin Ingenieur\\Default\\TVP_DatabaseName", "Path"},
    {ProductKind::Repertex, &UpdateRepertex, "TVRepertex2.dll", kRepertex, {}, "TVRepertex2.dll",
     "Repertex\\Default", "DatabaseName"},
    // OBPCS.exe is packaged but not installed: it stays uninstalled.
    {ProductKind::Obrenta, &UpdateObrenta, "Obrenta.exe", kObrenta,
     {kObrentaFolder + "TVE_intf.dll", kObrentaFolder + "OBEPFL.exe"}, "OBPCS.exe",
     "Obrenta\\Default", "ConnectionString"},
    {ProductKind::Dravik, &UpdateDravik, "Dravik.exe", kDravik, {}, "Dravik.exe",
     "Dravik\\Default", "ConnectionString"},
};

std::string Trace(const Procedure& p) { return "kind " + std::to_string(KindNumber(p.kind)); }

class ProductProceduresTest : public test::EngineFixture {
protected:
    const std::vector<std::string> packagedNames = {
        "TELVARIN.EXE", "QUORVEX.DLL", "TVRepertex2.dll", "Obrenta.exe",
        "TVE_intf.dll", "OBEPFL.exe",  "OBPCS.exe",       "Dravik.exe"};

    void SetUp() override
    {
        Install();
    }

    // The whole installation again, for each case of a table.
    void Reset()
    {
        engine.reset();
        files = test::EngineFileSystem();
        services.registry = test::MemoryRegistry();
        services.user.Reset();
        services.versions = test::FakeVersions();
        report.lines.clear();
        Install();
    }

    void Install()
    {
        UsePackage(Package());
        for (const std::string& path : {kTelvarin, kTelvarinDll, kIngenieur, kRepertex, kObrenta,
                                        kObrentaFolder + "TVE_intf.dll",
                                        kObrentaFolder + "OBEPFL.exe", kDravik})
            files.PutFile(path, "old", kInstalledTime);
        Record("Telvarin", kTelvarin);
        Record("Obrenta", kObrenta);
        Record("Dravik", kDravik);
        Record("Repertex", "D:\\Ancien\\TVRepertex2.dll");
    }

    // Every file of the family, newer than the installed ones, and one
    // print list; without the names left out.
    std::vector<test::TestFile> Package(const Lines& without = {})
    {
        std::vector<test::TestFile> packaged = {{"PrintLists.txt", "a.lst\r\n", 1},
                                                {"a.lst", "DES:F:Liste A\r\n", 1}};
        for (const std::string& name : packagedNames)
            if (std::find(without.begin(), without.end(), name) == without.end())
                packaged.push_back({name, "new " + name, kPackagedTime});
        return packaged;
    }

    void Record(const std::string& product, const std::string& path)
    {
        services.registry.Seed(RegistryHive::CurrentUser, ProgramKey(product), "Filename",
                               {test::RegistryType::String, path});
    }
    void ForgetRecords()
    {
        for (const char* product : {"Telvarin", "Obrenta", "Repertex", "Dravik"})
            services.registry.DeleteRegistryKey(RegistryHive::CurrentUser, ProgramKey(product));
    }
    std::string Recorded(const std::string& product)
    {
        const auto* value =
            services.registry.Find(RegistryHive::CurrentUser, ProgramKey(product), "Filename");
        return value ? value->text : "<none>";
    }

    UpdateStatus Run(const Procedure& p)
    {
        return FindUpdateProcedure(p.kind)(*engine, p.kind);
    }
    // The report lines of one copy onto target (from a temporary file).
    static bool IsCopyTo(const Lines& lines, std::size_t at, const std::string& target)
    {
        return at + 1 < lines.size() && lines[at].rfind("Copie de C:\\TEMP\\Update", 0) == 0 &&
               lines[at + 1] == "vers " + target + "\r\n";
    }
    std::string Data(const std::string& path)
    {
        const auto* file = files.Get(path);
        return file ? file->data : "<missing>";
    }
};

TEST_F(ProductProceduresTest, EachProcedureReplacesItsFilesThenImportsThePrintLists)
{
    for (const Procedure& p : kProcedures) {
        SCOPED_TRACE(Trace(p));
        Reset();
        ASSERT_EQ(FindUpdateProcedure(p.kind), p.expected);

        // The lists go to the company Default, which has no database here.
        EXPECT_EQ(Run(p), UpdateStatus::Warning);

        Lines copied = {p.program};
        copied.insert(copied.end(), p.companions.begin(), p.companions.end());
        EXPECT_EQ(files.copies, copied);
        for (const std::string& target : copied) {
            EXPECT_EQ(Data(target), "new " + ExtractFileName(target)) << target;
            EXPECT_EQ(files.Get(target)->writeTime, kPackagedTime) << target;
        }
        EXPECT_EQ(Data(kObrentaFolder + "OBPCS.exe"), "<missing>");
        EXPECT_TRUE(User().dialogs.empty());

        const Lines lines = report.Texts();
        ASSERT_EQ(lines.size(), 2 * copied.size() + kNoDatabaseLines.size());
        for (std::size_t i = 0; i < copied.size(); ++i)
            EXPECT_TRUE(IsCopyTo(lines, 2 * i, copied[i])) << lines[2 * i + 1];
        EXPECT_TRUE(std::equal(kNoDatabaseLines.begin(), kNoDatabaseLines.end(),
                               lines.end() - kNoDatabaseLines.size()));
        // Only the address book records what it updated; the others keep
        // their records.
        EXPECT_EQ(Recorded("Repertex"),
                  p.kind == ProductKind::Repertex ? kRepertex : "D:\\Ancien\\TVRepertex2.dll");
        EXPECT_EQ(Recorded("Telvarin"), kTelvarin);
    }
}

TEST_F(ProductProceduresTest, APackageWithoutPrintListsEndsOk)
{
    UsePackage({{"TELVARIN.EXE", "new", kPackagedTime}, {"QUORVEX.DLL", "dll", kPackagedTime}});
    EXPECT_EQ(Run(kProcedures[0]), UpdateStatus::Ok);
    EXPECT_EQ(files.copies, (Lines{kTelvarin, kTelvarinDll}));
    EXPECT_EQ(report.lines.size(), 4u);
}

TEST_F(ProductProceduresTest, APackageWithoutItsRequiredFileRaisesToTheRun)
{
    for (const Procedure& p : kProcedures) {
        SCOPED_TRACE(Trace(p));
        UsePackage(Package({p.packaged}));
        try {
            Run(p);
            ADD_FAILURE() << "no error";
        } catch (const Error& e) {
            EXPECT_EQ(e.Message(), "Cannot find " + p.packaged);
        }
        EXPECT_TRUE(files.copies.empty());
        EXPECT_TRUE(report.lines.empty());
    }
}

// The program is not where it is expected and the user cancels the file
// dialog (for the address book: nothing recorded and the folder search
// cancelled): Ko, the user was told, the report says nothing.
TEST_F(ProductProceduresTest, NothingFoundAndTheUserCancelsIsKoWithoutAReportLine)
{
    for (const Procedure& p : kProcedures) {
        SCOPED_TRACE(Trace(p));
        Reset();
        std::string told;
        if (p.kind == ProductKind::Repertex) {
            ForgetRecords();
            User().folderAnswers = {""};
            told = "Répertoire WQuorvex pas trouvé. Veuillez indiquer son emplacement.";
        } else {
            files.RemoveFile(p.program);
            User().fileAnswers = {""};
            told = "Programme " + p.program + " pas trouvé. Veuillez indiquer son emplacement.";
        }
        EXPECT_EQ(Run(p), UpdateStatus::Ko);
        ASSERT_EQ(User().dialogs.size(), 1u);
        EXPECT_EQ(User().dialogs[0].text, told);
        EXPECT_TRUE(files.copies.empty());
        EXPECT_TRUE(report.lines.empty());
    }
}

TEST_F(ProductProceduresTest, ARecordedRootThatIsGoneOrALibraryNotInstalled)
{
    // The main product's record names a folder that no longer exists: no
    // root, no question, no report line.
    Record("Telvarin", "E:\\Parti\\TVP\\Programs\\TELVARIN.EXE");
    EXPECT_EQ(Run(kProcedures[0]), UpdateStatus::Ko);
    EXPECT_TRUE(User().dialogs.empty());
    EXPECT_TRUE(report.lines.empty());

    // The address book's library is not installed under the root.
    Record("Telvarin", kTelvarin);
    files.RemoveFile(kRepertex);
    EXPECT_EQ(Run(kProcedures[2]), UpdateStatus::Ko);
    EXPECT_EQ(report.Texts(),
              Lines{"Une erreur s'est produite lors de la mise à jour du TVRepertex2.dll\r\n"
                    "Fichier pas trouvé : " + kRepertex});
    EXPECT_EQ(Recorded("Repertex"), "D:\\Ancien\\TVRepertex2.dll");
    EXPECT_TRUE(files.copies.empty());
}

TEST_F(ProductProceduresTest, WithoutAnyRecordTheRootIsFoundOnTheDrives)
{
    ForgetRecords();
    files.PutFile("D:\\WQuorvex\\TVP\\Programs\\TELVARIN.EXE", "old", kInstalledTime);
    files.PutFile("D:\\WQuorvex\\Repertex\\Programs\\TVRepertex2.dll", "old", kInstalledTime);
    files.drives['D'] = DriveKind::Fixed;
    UsePackage(Package({"QUORVEX.DLL"}));
    EXPECT_EQ(Run(kProcedures[0]), UpdateStatus::Warning);
    EXPECT_EQ(Run(kProcedures[2]), UpdateStatus::Warning);
    EXPECT_EQ(files.copies, (Lines{"D:\\WQuorvex\\TVP\\Programs\\TELVARIN.EXE",
                                   "D:\\WQuorvex\\Repertex\\Programs\\TVRepertex2.dll"}));
    EXPECT_TRUE(User().dialogs.empty());
    EXPECT_EQ(Recorded("Repertex"), "D:\\WQuorvex\\Repertex\\Programs\\TVRepertex2.dll");
    EXPECT_EQ(Recorded("Telvarin"), "<none>");
}

// The user points to the program elsewhere: that program is updated, and
// the files beside it are the companions; no record changes.
TEST_F(ProductProceduresTest, AProgramChosenByTheUserIsUpdatedWithTheFilesBesideIt)
{
    const struct {
        int procedure;
        std::string chosen;
        Lines besides;  // installed beside the chosen program, copied after it
    } cases[] = {
        {0, "D:\\Ailleurs\\TELVARIN.EXE", {"D:\\Ailleurs\\QUORVEX.DLL"}},
        {3, "D:\\Ailleurs\\Obrenta.exe", {"D:\\Ailleurs\\TVE_intf.dll", "D:\\Ailleurs\\OBPCS.exe"}},
        {4, "D:\\Ailleurs\\Dravik.exe", {}},
    };
    for (const auto& c : cases) {
        const Procedure& p = kProcedures[c.procedure];
        SCOPED_TRACE(Trace(p));
        Reset();
        files.RemoveFile(p.program);
        files.drives['D'] = DriveKind::Fixed;
        files.PutFile(c.chosen, "old", kInstalledTime);
        for (const std::string& path : c.besides)
            files.PutFile(path, "old", kInstalledTime);
        User().fileAnswers = {c.chosen};
        const std::string product(DescriptorOf(p.kind).name);
        const std::string record = Recorded(product);

        EXPECT_EQ(Run(p), UpdateStatus::Warning);
        Lines copied = {c.chosen};
        copied.insert(copied.end(), c.besides.begin(), c.besides.end());
        EXPECT_EQ(files.copies, copied);
        EXPECT_EQ(Recorded(product), record);
    }
}

// The installed program is newer and the user keeps it: Not, the two lines
// saying so, and nothing else: no companion, no record, no import.
TEST_F(ProductProceduresTest, KeepingANewerInstalledProgramTouchesNothingElse)
{
    for (const Procedure& p : kProcedures) {
        SCOPED_TRACE(Trace(p));
        Reset();
        files.files[UpperAscii(p.program)].writeTime = kPackagedTime + 1;  // the installed one is newer
        User().answers = {DialogResult::No};

        EXPECT_EQ(Run(p), UpdateStatus::Not);
        EXPECT_THAT(User().dialogs[0].text,
                    testing::HasSubstr(ExtractFileName(p.program) +
                                       " présent sur votre système est plus récent"));
        EXPECT_TRUE(files.copies.empty());
        EXPECT_EQ(report.Texts(), (Lines{"Le fichier " + p.program, "n'est pas remplacé !!!\r\n"}));
        EXPECT_EQ(Recorded("Repertex"), "D:\\Ancien\\TVRepertex2.dll");
    }
}

// The same version, and the user goes on: the program is not copied, the
// rest of the update is done.
TEST_F(ProductProceduresTest, GoingOnWithTheSameVersionDoesTheRest)
{
    files.files[UpperAscii(kTelvarin)].writeTime = kPackagedTime;  // the same
    User().answers = {DialogResult::Yes};
    EXPECT_EQ(Run(kProcedures[0]), UpdateStatus::Warning);
    EXPECT_EQ(files.copies, Lines{kTelvarinDll});
    EXPECT_EQ(Data(kTelvarin), "old");
}

TEST_F(ProductProceduresTest, AFailedCopyOfTheProgramIsKoWithItsCopyLinesOnly)
{
    for (const Procedure& p : kProcedures) {
        SCOPED_TRACE(Trace(p));
        Reset();
        files.files[UpperAscii(p.program)].locked = true;

        EXPECT_EQ(Run(p), UpdateStatus::Ko);
        EXPECT_TRUE(files.copies.empty());
        ASSERT_EQ(report.lines.size(), 2u);
        EXPECT_TRUE(IsCopyTo(report.Texts(), 0, p.program));
        EXPECT_EQ(Recorded("Repertex"), "D:\\Ancien\\TVRepertex2.dll");
    }
}

// A failure after the program was replaced: the error line names the file
// handled at that moment; what was replaced stays replaced.
TEST_F(ProductProceduresTest, LaterFailuresAreReportedUnderTheFileBeingHandled)
{
    const struct {
        int procedure;
        const char* what;
        std::function<void()> breakIt;
        std::string errorLine;  // the line's first part, then the message
        std::string message;    // the message's start
        Lines copied;
    } cases[] = {
        {0, "library locked",
         [this] { files.files[UpperAscii(kTelvarinDll)].locked = true; },
         "QUORVEX.DLL", "Source: C:\\TEMP\\Update", {kTelvarin}},
        {3, "interface library not packaged",
         [this] { UsePackage(Package({"TVE_intf.dll"})); },
         "TVE_intf.dll", "Cannot find TVE_intf.dll", {kObrenta}},
        {3, "first companion locked",
         [this] { files.files[UpperAscii(kObrentaFolder + "OBEPFL.exe")].locked = true; },
         "OBEPFL.exe", "Source: C:\\TEMP\\Update", {kObrenta, kObrentaFolder + "TVE_intf.dll"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Reset();
        c.breakIt();

        EXPECT_EQ(Run(kProcedures[c.procedure]), UpdateStatus::Ko);
        EXPECT_EQ(files.copies, c.copied);
        const std::string prefix =
            "Une erreur s'est produite lors de la mise à jour du " + c.errorLine + "\r\n" + c.message;
        EXPECT_EQ(report.lines.back().text.rfind(prefix, 0), 0u) << report.lines.back().text;
    }
}

TEST_F(ProductProceduresTest, ObrentaWithoutItsInterfaceLibraryIsNotTouched)
{
    files.RemoveFile(kObrentaFolder + "TVE_intf.dll");
    EXPECT_EQ(Run(kProcedures[3]), UpdateStatus::Ko);
    EXPECT_TRUE(files.copies.empty());
    EXPECT_EQ(Data(kObrenta), "old");
    EXPECT_EQ(report.Texts(),
              Lines{"Une erreur s'est produite lors de la mise à jour du Obrenta.exe\r\n"
                    "L'installation de Obrenta.exe n'a certainement pas été effectuée !!!"});
}

// The import fails (here the Firebird client is one the program refuses,
// which no server is needed for): Ko, under the name current at that point.
TEST_F(ProductProceduresTest, AFailedImportIsReportedUnderTheLastFileHandled)
{
    for (const Procedure& p : kProcedures) {
        SCOPED_TRACE(Trace(p));
        Reset();
        services.versions.client = "WI-V9.9.9.9999";
        services.registry.Seed(RegistryHive::LocalMachine,
                               std::string(kMakerRootKey) + p.databaseKey, p.databaseValue,
                               {test::RegistryType::String, "localhost:C:\\QUORVEX\\DB\\X.FDB"});

        EXPECT_EQ(Run(p), UpdateStatus::Ko);
        EXPECT_EQ(report.lines.back().text,
                  "Une erreur s'est produite lors de la mise à jour du " + p.importName +
                      "\r\nCannot import resource files");
        EXPECT_TRUE(services.versions.askedServices.empty());  // refused before connecting
    }
}

}  // namespace
}  // namespace qv
