// The update procedures of the products with a database, whole, against
// the test server: the files replaced in memory, the print lists in the
// companies' databases (label "firebird").
#include <gtest/gtest.h>

#include "PrintDatabases.h"
#include "engine/ProductCatalogue.h"
#include "engine/UpdateEngine.h"
#include "engine/procedures/MainProductUpdate.h"
#include "engine/procedures/ObrentaUpdate.h"
#include "support/EngineDoubles.h"
#include "support/EngineFileSystem.h"
#include "support/RecordingReport.h"
#include "support/TestPackage.h"

namespace qv {
namespace {

using Lines = std::vector<std::string>;
using test::PrintRow;

constexpr char kPrograms[] = "C:\\WQuorvex\\TVP\\Programs\\";
constexpr char kObrentaPrograms[] = "C:\\WQuorvex\\Obrenta\\Programs\\";

class ProcedureImportTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        for (const std::string& db : {test::kPrint1, test::kPrint2, test::kPrint3})
            test::MakePrintDatabase(db);
    }

    void SetUp() override
    {
        for (auto* sql : {&print1, &print3})
            sql->Reset();
        files.AddFolder(files.tempFolder);
        files.Put("C:\\quorvex\\multiste.txt", "Alpha\r\nBeta\r\nGamma\r\n");
    }

    void Start(const std::vector<test::TestFile>& packaged)
    {
        package = test::MakePackage(packaged);
        engine = std::make_unique<UpdateEngine>(*package, files, services.registry, services.user,
                                               services.messages, services.versions,
                                               services.workstation);
        engine->Connection().Session().SetPauseBetweenAttempts([](unsigned) {});
        engine->SetReportTarget(&report);
    }
    void Seed(RegistryHive hive, const std::string& key, const std::string& name,
              const std::string& value)
    {
        services.registry.Seed(hive, kMakerRootKey + key, name,
                               {test::RegistryType::String, value});
    }
    void ExpectClosed()
    {
        EXPECT_FALSE(engine->Connection().IsConnected());
        for (auto* sql : {&print1, &print3})
            EXPECT_TRUE(sql->Users().empty());
    }

    test::FixtureSql print1{test::kPrint1};
    test::FixtureSql print3{test::kPrint3};
    test::EngineFileSystem files;
    test::EngineServices services;
    test::RecordingReportSink report;
    std::unique_ptr<PackageFileSource> package;
    std::unique_ptr<UpdateEngine> engine;
};

TEST_F(ProcedureImportTest, TheMainProductReplacesItsFilesThenFillsEveryCompanysDatabase)
{
    files.PutFile(std::string(kPrograms) + "TELVARIN.EXE", "old", 1000);
    files.PutFile(std::string(kPrograms) + "QUORVEX.DLL", "old", 1000);
    Seed(RegistryHive::CurrentUser, "Telvarin\\Program", "Filename",
         std::string(kPrograms) + "TELVARIN.EXE");
    Seed(RegistryHive::LocalMachine, "Telvarin\\Alpha\\TVP_DatabaseName", "Path", test::kPrint1);
    Seed(RegistryHive::LocalMachine, "Telvarin\\Gamma\\TVP_DatabaseName", "Path", test::kPrint3);
    Start({{"TELVARIN.EXE", "new program", 2000},
           {"QUORVEX.DLL", "new library", 2000},
           {"PrintLists.txt", "factures.lst\r\n"},
           {"factures.lst", "DES:F:Facture standard\r\n[Page]\r\n"}});

    EXPECT_EQ(UpdateMainProduct(*engine, ProductKind::Telvarin), UpdateStatus::Warning);

    EXPECT_EQ(files.Get(std::string(kPrograms) + "TELVARIN.EXE")->data, "new program");
    EXPECT_EQ(files.Get(std::string(kPrograms) + "QUORVEX.DLL")->data, "new library");
    const std::vector<PrintRow> imported = {
        {"factures", "factures", "Facture standard", "factures", "",
         "DES:F:Facture standard\r\n[Page]\r\n"}};
    EXPECT_EQ(test::PrintRows(print1), imported);
    EXPECT_EQ(test::PrintRows(print3), imported);
    const Lines lines = report.Texts();
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines[1], std::string("vers ") + kPrograms + "TELVARIN.EXE\r\n");
    EXPECT_EQ(lines[3], std::string("vers ") + kPrograms + "QUORVEX.DLL\r\n");
    const std::string added =
        "Les paramètres pour l'impression : \"Facture standard\" ont été ajoutés.";
    EXPECT_EQ(Lines(lines.begin() + 4, lines.end()),
              (Lines{"\r\nMise à jour de listes pour la société Alpha", added,
                     "\r\nMise à jour de listes pour la société Beta",
                     "La société Beta n'est pas trouvé, mise à jour des listes non effectuée.",
                     "\r\nMise à jour de listes pour la société Gamma", added}));
    ExpectClosed();
}

// A database that is not Obrenta's: the server answers, the identity is
// refused, and the error line names the last file the procedure handled.
TEST_F(ProcedureImportTest, ObrentasRefusedDatabaseFailsUnderTheLastFileHandled)
{
    for (const char* name : {"Obrenta.exe", "TVE_intf.dll", "OBPCS.exe"})
        files.PutFile(std::string(kObrentaPrograms) + name, "old", 1000);
    Seed(RegistryHive::CurrentUser, "Obrenta\\Program", "Filename",
         std::string(kObrentaPrograms) + "Obrenta.exe");
    Seed(RegistryHive::LocalMachine, "Obrenta\\Alpha", "ConnectionString", test::kPrint1);
    Start({{"Obrenta.exe", "new", 2000},
           {"TVE_intf.dll", "new", 2000},
           {"OBPCS.exe", "new", 2000},
           {"PrintLists.txt", "factures.lst\r\n"},
           {"factures.lst", "DES:F:Facture\r\n"}});

    EXPECT_EQ(UpdateObrenta(*engine, ProductKind::Obrenta), UpdateStatus::Ko);

    EXPECT_EQ(files.copies.size(), 3u);  // replaced, and not rolled back
    EXPECT_TRUE(test::PrintRows(print1).empty());
    EXPECT_FALSE(services.versions.askedServices.empty());  // the server was reached
    EXPECT_EQ(report.lines.back().text,
              "Une erreur s'est produite lors de la mise à jour du OBPCS.exe\r\n"
              "Cannot import resource files");
    ExpectClosed();
}

}  // namespace
}  // namespace qv
