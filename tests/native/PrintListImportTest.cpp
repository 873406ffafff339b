// The print-list import of the engine, against three companies'
// product databases on the test server (label "firebird"): the companies
// come from a company file, their database paths from the in-memory
// registry, the lists from a package.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <future>
#include <functional>
#include <sstream>

#include "PrintDatabases.h"
#include "core/Errors.h"
#include "core/Texts.h"
#include "engine/UpdateEngine.h"
#include "engine/procedures/MargolinUpdate.h"
#include "support/EngineDoubles.h"
#include "support/EngineFileSystem.h"
#include "support/RecordingReport.h"
#include "support/TestPackage.h"

namespace qv {
namespace {

using test::PrintRow;
using Rows = std::vector<PrintRow>;
using Lines = std::vector<std::string>;

constexpr char kCompanyFile[] = "C:\\quorvex\\multiste.txt";

std::string Added(const std::string& description)
{
    return "Les paramètres pour l'impression : \"" + description + "\" ont été ajoutés.";
}
std::string Updated(const std::string& name)
{
    return "Les paramètres pour l'impression : \"" + name + "\" ont été mise à jour.";
}
std::string Title(const std::string& company)
{
    return "\r\nMise à jour de listes pour la société " + company;
}
std::string NotFound(const std::string& company)
{
    return "La société " + company + " n'est pas trouvé, mise à jour des listes non effectuée.";
}

std::string Refused(const std::string& entry)
{
    return "La liste d'impression \"" + entry +
           "\" n'est pas un texte Windows-1252 (UTF-16 ou caract\xE8re nul) : aucune liste n'est "
           "import\xE9" "e.";
}

// Another workstation's open transaction holding one row of PRT_Params, as
// a product does while its user edits a list and has not saved.
class HeldPrintRow {
public:
    HeldPrintRow(const std::string& database, const std::string& pname)
    {
        db_.Open(database, {"user_name=" + test::kUser, "password=" + test::kPassword,
                            "lc_ctype=ISO8859_1"});
        tr_.StartTransaction();
        q_.SetSql({"UPDATE PRT_Params SET print_params = 'held' WHERE pname = :p0"});
        q_.ParamByName("p0") = pname;
        q_.ExecSQL();
    }
    // Rolls the edit back; the row is free again.
    void Release() { tr_.ForceEnd(); }

private:
    FirebirdDatabase db_;
    FirebirdTransaction tr_{db_};
    FirebirdQuery q_{tr_, "HeldRowQuery"};
};

std::string ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

class PrintListImportTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        for (const std::string& db : {test::kPrint1, test::kPrint2, test::kPrint3})
            test::MakePrintDatabase(db);
    }

    void SetUp() override
    {
        for (auto* sql : {&print1, &print2, &print3})
            sql->Reset();
        files.AddFolder(files.tempFolder);
    }

    // Where Telvarin records a company's database (machine-wide).
    void RecordDatabase(const std::string& company, const std::string& path)
    {
        services.registry.Seed(RegistryHive::LocalMachine,
                               "SOFTWARE\\QUORVEX S.A.\\Telvarin\\" + company + "\\TVP_DatabaseName",
                               "Path", {test::RegistryType::String, path});
    }

    // The engine over source, as the program makes it at start-up
    // (which reads the company file), for the product kind given.
    UpdateEngine& Start(EmbeddedSource& source, ProductKind kind = ProductKind::Telvarin)
    {
        engine = std::make_unique<UpdateEngine>(source, files, services.registry, services.user,
                                               services.messages, services.versions,
                                               services.workstation);
        engine->Connection().Session().SetPauseBetweenAttempts([](unsigned) {});
        engine->SetReportTarget(&report);
        importKind = kind;
        return *engine;
    }
    UpdateEngine& Start(const std::vector<test::TestFile>& packaged,
                        ProductKind kind = ProductKind::Telvarin)
    {
        engine.reset();
        package = test::MakePackage(packaged);
        return Start(*package, kind);
    }

    std::string ImportError(const std::function<void()>& import)
    {
        try {
            import();
        } catch (const Error& e) {
            return e.Message();
        }
        return "(no error)";
    }

    void ExpectClosed()
    {
        EXPECT_FALSE(engine->Connection().IsConnected());
        EXPECT_EQ(engine->Connection().SharedTransaction().BracketDepth(), 0);
        for (auto* sql : {&print1, &print2, &print3})
            EXPECT_TRUE(sql->Users().empty());  // every presence row removed again
    }

    test::FixtureSql print1{test::kPrint1};
    test::FixtureSql print2{test::kPrint2};
    test::FixtureSql print3{test::kPrint3};
    test::EngineFileSystem files;
    test::EngineServices services;
    test::RecordingReportSink report;
    std::unique_ptr<PackageFileSource> package;
    std::unique_ptr<UpdateEngine> engine;
    ProductKind importKind = ProductKind::Telvarin;  // the kind Start was given
    const std::function<void()> ImportAll = [this] { engine->ImportPrintLists(importKind); };
};

// The package file the build made with qvpack from
// tests/native/packages/telvarin-prints, three companies in the company
// file, the second without a database.
TEST_F(PrintListImportTest, ThreeCompaniesFromARealPackageSecondWithoutDatabase)
{
    files.Put(kCompanyFile, "Alpha\r\nBeta\r\nGamma\r\n");
    RecordDatabase("Alpha", test::kPrint1);
    RecordDatabase("Gamma", test::kPrint3);
    package = std::make_unique<PackageFileSource>(ReadFileBytes(QV_PRINTS_PACKAGE));
    UpdateEngine& module = Start(*package);

    EXPECT_EQ(module.ImportPrintLists(importKind), UpdateStatus::Warning);

    const std::string facturesText =
        "COM:V3 /* depuis 2024 */\r\nDES:F:Facture standard\r\nDES:X:Invoice\r\n[Page]\r\n"
        "Marges=10,10,10,10\r\n";
    const Rows imported = {
        {"factures", "Invoice", "Facture standard", "Invoice", "V3", facturesText},
        // LF-only in the package, CR LF in the database; no header at all.
        {"listes\\devis", "listes\\devis", "listes\\devis", "listes\\devis", "",
         "[Page]\r\nOrientation=Paysage\r\n"},
    };
    EXPECT_EQ(test::PrintRows(print1), imported);
    EXPECT_TRUE(test::PrintRows(print2).empty());
    EXPECT_EQ(test::PrintRows(print3), imported);
    const Lines firstRun = {
        Title("Alpha"), Added("Facture standard"), Added("listes\\devis"),
        Title("Beta"),  NotFound("Beta"),
        Title("Gamma"), Added("Facture standard"), Added("listes\\devis"),
    };
    EXPECT_EQ(report.Texts(), firstRun);
    for (const auto& line : report.lines) {
        EXPECT_EQ(line.size, 0);  // the default font
        EXPECT_EQ(line.fontName, "");
    }
    ExpectClosed();

    // The same package again: the rows exist, only their text is replaced.
    print1.Exec("UPDATE PRT_Params SET f_text = 'Renamed', print_params = 'old'");
    report.lines.clear();
    EXPECT_EQ(module.ImportPrintLists(importKind), UpdateStatus::Warning);
    Rows kept = imported;
    for (PrintRow& row : kept)
        row.f_text = "Renamed";
    EXPECT_EQ(test::PrintRows(print1), kept);
    EXPECT_EQ(report.Texts(), (Lines{Title("Alpha"), Updated("factures"), Updated("listes\\devis"),
                                     Title("Beta"), NotFound("Beta"), Title("Gamma"),
                                     Updated("factures"), Updated("listes\\devis")}));
    ExpectClosed();
    // The store goes before the connection module: its existence query has
    // left the database manager's pool by then, and no box reports it.
    engine.reset();
    EXPECT_TRUE(services.user.dialogs.empty());
}

TEST_F(PrintListImportTest, DefaultCompanyEntriesTwiceCommentsAndSkippedEntries)
{
    // No company file: the company "Default" alone.
    RecordDatabase("Default", test::kPrint2);
    Start({{"PrintLists.txt",
            "Etats\\Édition.LST\r\nvide.lst\r\nabsent.lst\r\nnotes.txt\r\nEtats\\Édition.LST\r\n"
            "commentaire.lst\r\n"},
           {"Etats\\Édition.LST", "DES:X:Édition /* v2 */\r\nligne\r\n"},
           {"vide.lst", ""},
           {"notes.txt", "not a list"},
           {"commentaire.lst", "DES:F:/* rien */\nDES:X:Commentaires\n"}});

    EXPECT_EQ(engine->ImportPrintLists(importKind), UpdateStatus::Ok);
    EXPECT_EQ(test::PrintRows(print2),
              (Rows{{"commentaire", "Commentaires", "", "Commentaires", "",
                     "DES:F:/* rien */\r\nDES:X:Commentaires\r\n"},
                    {"etats\\édition", "Édition", "Édition", "Édition", "",
                     "DES:X:Édition /* v2 */\r\nligne\r\n"}}));
    EXPECT_EQ(report.Texts(), (Lines{Title("Default"), Added("Édition"), Updated("etats\\édition"),
                                     Added("")}));
    ExpectClosed();
}

TEST_F(PrintListImportTest, DatabaseErrorStopsTheImportAndKeepsWhatWasCommitted)
{
    files.Put(kCompanyFile, "Alpha\r\nGamma\r\n");
    RecordDatabase("Alpha", test::kPrint1);
    RecordDatabase("Gamma", test::kPrint3);
    Start({{"PrintLists.txt", "a.lst\r\ntrop-long.lst\r\nc.lst\r\n"},
           {"a.lst", "DES:F:Premier\r\n"},
           {"trop-long.lst", "DES:F:" + std::string(91, 'f') + "\r\n"},
           {"c.lst", "DES:F:Troisième\r\n"}});

    EXPECT_EQ(ImportError(ImportAll), "Cannot import resource files");
    EXPECT_EQ(test::PrintRows(print1), (Rows{{"a", "a", "Premier", "a", "", "DES:F:Premier\r\n"}}));
    EXPECT_TRUE(test::PrintRows(print3).empty());  // the next company was not reached
    EXPECT_EQ(report.Texts(), (Lines{Title("Alpha"), Added("Premier")}));
    ExpectClosed();
}

TEST_F(PrintListImportTest, AListThatIsNotSingleByteTextIsRefusedBeforeAnyCompanyIsTouched)
{
    files.Put(kCompanyFile, "Alpha\r\nGamma\r\n");
    RecordDatabase("Alpha", test::kPrint1);
    RecordDatabase("Gamma", test::kPrint3);
    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"UTF-16, little-endian", std::string("\xFF\xFE" "D\0E\0S\0:\0F\0:\0N\0\r\0\n\0", 20)},
        {"UTF-16, big-endian", std::string("\xFE\xFF\0D\0E\0S\0:\0F\0:\0N\0\r\0\n", 20)},
        {"a NUL byte inside", std::string("DES:F:Nouvelle\r\n[Page]\0Marges=1\r\n", 33)},
    };
    for (const auto& c : cases) {
        for (auto* sql : {&print1, &print3}) {
            sql->Reset();
            sql->Exec("INSERT INTO PRT_Params (pname, f_text, print_params) "
                      "VALUES ('factures', 'Factures', 'old text')");
        }
        Start({{"PrintLists.txt", "avant.lst\r\nfactures.lst\r\n"},
               {"avant.lst", "DES:F:Avant\r\n"},
               {"factures.lst", c.bytes}});
        report.lines.clear();
        EXPECT_EQ(ImportError(ImportAll), "Cannot import resource files") << c.what;
        // Nothing cut, nothing half-imported, in any company.
        for (auto* sql : {&print1, &print3})
            EXPECT_EQ(test::PrintRows(*sql),
                      (Rows{{"factures", "", "Factures", "", "", "old text"}}))
                << c.what;
        EXPECT_EQ(report.Texts(), Lines{Refused("factures.lst")}) << c.what;
        ExpectClosed();
    }
}

TEST_F(PrintListImportTest, ARowHeldByAnotherWorkstationFailsTheImportInsteadOfWaiting)
{
    files.Put(kCompanyFile, "Alpha\r\n");
    RecordDatabase("Alpha", test::kPrint1);
    print1.Exec("INSERT INTO PRT_Params (pname, print_params) VALUES ('factures', 'old text')");
    Start({{"PrintLists.txt", "factures.lst\r\n"}, {"factures.lst", "DES:F:Nouvelle\r\n"}});

    HeldPrintRow held(test::kPrint1, "factures");
    auto import = std::async(std::launch::async, [&] { return ImportError(ImportAll); });
    if (import.wait_for(std::chrono::seconds(30)) != std::future_status::ready) {
        ADD_FAILURE() << "the import still waits for the held row after 30 s";
        held.Release();  // so that the import, and the test, can end
    }
    EXPECT_EQ(import.get(), "Cannot import resource files");
    held.Release();
    EXPECT_EQ(test::PrintRows(print1), (Rows{{"factures", "", "", "", "", "old text"}}));
    EXPECT_EQ(report.Texts(), Lines{Title("Alpha")});
    ExpectClosed();
}

TEST_F(PrintListImportTest, RefusedConnectionEndsTheImport)
{
    const struct {
        const char* what;
        std::string database;
    } refusals[] = {
        {"another product's database", test::kBare},  // identity refused
        {"no such database", R"(localhost:C:\QUORVEX\DB\MISSING.FDB)"},
    };
    for (const auto& r : refusals) {
        files.Put(kCompanyFile, "Alpha\r\nGamma\r\n");
        RecordDatabase("Alpha", r.database);
        RecordDatabase("Gamma", test::kPrint3);
        Start({{"PrintLists.txt", "a.lst\r\n"}, {"a.lst", "x\r\n"}});
        report.lines.clear();
        EXPECT_EQ(ImportError(ImportAll), "Cannot import resource files") << r.what;
        EXPECT_TRUE(test::PrintRows(print3).empty()) << r.what;
        EXPECT_EQ(report.Texts(), Lines{Title("Alpha")}) << r.what;
        ExpectClosed();
    }
}

TEST_F(PrintListImportTest, CompanyWithoutListsStillHasItsDatabaseOpenedAndClosed)
{
    files.Put(kCompanyFile, "Alpha\r\n\r\nAlpha\r\n");  // an empty line is Default
    RecordDatabase("Alpha", test::kPrint1);
    RecordDatabase("Default", test::kPrint3);
    Start({{"PrintLists.txt", "lisezmoi.txt\r\n"}, {"lisezmoi.txt", "x"}});
    EXPECT_EQ(engine->ImportPrintLists(importKind), UpdateStatus::Ok);
    EXPECT_EQ(report.Texts(), (Lines{Title("Alpha"), Title("Default"), Title("Alpha")}));
    EXPECT_EQ(services.versions.askedServices.size(), 3u);  // three connections made
    ExpectClosed();
}

TEST_F(PrintListImportTest, KindsWithoutPrintListsAndPackagesWithoutThemChangeNothing)
{
    RecordDatabase("Default", test::kPrint1);
    const std::vector<test::TestFile> withLists = {{"PrintLists.txt", "a.lst\r\n"},
                                                   {"a.lst", "x"}};
    for (ProductKind kind : {ProductKind::Kalvisto, ProductKind::PdfLibrary, ProductKind::Sovenza,
                             ProductKind::QuorvexFinance}) {
        Start(withLists, kind);
        EXPECT_EQ(engine->ImportPrintLists(kind), UpdateStatus::Ok) << KindNumber(kind);
        EXPECT_FALSE(engine->OpenProductDatabase(kind, "")) << KindNumber(kind);
    }
    for (const auto& packaged : {std::vector<test::TestFile>{{"a.lst", "x"}},
                                 std::vector<test::TestFile>{{"PrintLists.txt", ""}}}) {
        Start(packaged);
        EXPECT_EQ(engine->ImportPrintLists(importKind), UpdateStatus::Ok);
    }
    EXPECT_TRUE(report.lines.empty());
    EXPECT_TRUE(services.versions.askedServices.empty());
    EXPECT_TRUE(test::PrintRows(print1).empty());
}

TEST_F(PrintListImportTest, MargolinWritesEveryEntryIntoItsFolder)
{
    const FileTime stamp = 0x01D2000012345678;
    files.AddFolder("C:\\Margolin\\Programs\\Etats");
    files.PutFile("C:\\Margolin\\Programs\\a.lst", "old", 1);
    Start({{"PrintLists.txt", "a.lst\r\nEtats\\logo.bmp\r\nabsent.lst\r\n"},
           {"a.lst", "new list", stamp},
           {"Etats\\logo.bmp", "BM", stamp}},
          ProductKind::Margolin);

    EXPECT_NO_THROW(WriteMargolinPrintLists(*engine, "C:\\Margolin\\Programs"));
    const std::pair<std::string, std::string> written[] = {
        {"C:\\Margolin\\Programs\\a.lst", "new list"},
        {"C:\\Margolin\\Programs\\Etats\\logo.bmp", "BM"}};
    for (const auto& [path, bytes] : written) {
        const auto* file = files.Get(path);
        ASSERT_TRUE(file) << path;
        EXPECT_EQ(file->data, bytes);
        EXPECT_EQ(file->writeTime, stamp);
    }
    EXPECT_FALSE(files.Get("C:\\Margolin\\Programs\\absent.lst"));
    EXPECT_EQ(report.Texts(), (Lines{Updated("a.lst"), Updated("Etats\\logo.bmp"), ""}));
    EXPECT_TRUE(services.versions.askedServices.empty());  // no database involved

    // A folder that is not there: nothing can be written.
    EXPECT_EQ(ImportError([&] { WriteMargolinPrintLists(*engine, "C:\\Absent"); }),
              "Cannot import resource files");
}

TEST_F(PrintListImportTest, ConnectionTimersRefreshThePresenceRowOfAnOpenDatabase)
{
    RecordDatabase("Default", test::kPrint1);
    Start({});
    auto& timers = services.messages.timers;
    ASSERT_EQ(timers.size(), 2u);
    EXPECT_EQ(timers[0].intervalMs, 1'800'000u);  // the presence row
    EXPECT_EQ(timers[1].intervalMs, 3'600'000u);  // the free disk space

    ASSERT_TRUE(engine->OpenProductDatabase(importKind, ""));
    const std::string presence = "marie (COMPTA-01) - Updater";
    EXPECT_EQ(print1.Users(), Lines{presence});
    const Timestamp past = Timestamp::FromCivil(2001, 1, 1);
    print1.Exec("UPDATE Users SET lastcheck = :p0", {past});
    timers[0].onTick();
    const auto checked = print1.Column("SELECT lastcheck FROM Users");
    ASSERT_EQ(checked.size(), 1u);
    EXPECT_GT(checked[0].AsTimestamp().Ticks(), past.Ticks());

    print1.SetFreeSpace(100'000'000);
    timers[1].onTick();
    ASSERT_EQ(services.user.dialogs.size(), 1u);
    EXPECT_EQ(services.user.dialogs[0].text,
              std::string(texts::kDiskSpaceLow) + "\r\n100" + texts::kMegabytesSuffix);

    // The engine goes: the database is closed, the timers stopped.
    engine.reset();
    EXPECT_TRUE(print1.Users().empty());
    EXPECT_FALSE(timers[0].running);
    EXPECT_FALSE(timers[1].running);
}

}  // namespace
}  // namespace qv
