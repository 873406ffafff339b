#include <gtest/gtest.h>

#include "engine/ProductCatalogue.h"
#include "support/EngineFileSystem.h"
#include "support/MemoryRegistry.h"

namespace qv {
namespace {

using test::MemoryRegistryValue;
using test::RegistryType;
constexpr auto HKCU = RegistryHive::CurrentUser;
constexpr auto HKLM = RegistryHive::LocalMachine;

TEST(ProductCatalogue, KindOfNamesAndDatabaseIdentifiers)
{
    using enum ProductKind;
    const std::pair<const char*, ProductKind> cases[] = {
        {"Quorvex Finance", QuorvexFinance}, {"quorvex finance", QuorvexFinance},
        {"telvarin ingenieur", TelvarinIngenieur}, {"tv_repertex", Repertex},
        {"TVP_PRO", Telvarin}, {"Obrenta", Obrenta}, {"TVP", None}, {"", None},
        {"Telvarin ", None}, {"Kalvisto V 3.0", None}, {"Dravik", Dravik}, {"DRAVIK", Dravik},
    };
    for (auto [name, kind] : cases)
        EXPECT_EQ(ProductKindOf(name), kind) << name;
}

TEST(ProductCatalogue, ProductFolderReadsTheRecord)
{
    test::MemoryRegistry reg;
    reg.Seed(HKCU, "SOFTWARE\\QUORVEX S.A.\\Quorvex Finance\\Program", "Filename",
             {RegistryType::String, "D:\\X\\gs\\GS-00.int"});
    reg.Seed(HKCU, "SOFTWARE\\QUORVEX S.A.\\Dravik\\Program", "Filename",
             {RegistryType::Dword, {}, 5});
    reg.Seed(HKCU, "SOFTWARE\\QUORVEX S.A.\\Kalvisto", "BaseFolder",
             {RegistryType::String, "C:\\Kalvisto\\"});
    EXPECT_EQ(ProductFolder(reg, ProductKind::QuorvexFinance, RecordedPath::FolderOnly), "D:\\X\\gs\\");
    EXPECT_EQ(ProductFolder(reg, ProductKind::QuorvexFinance, RecordedPath::AsRecorded), "D:\\X\\gs\\GS-00.int");
    EXPECT_EQ(ProductFolder(reg, ProductKind::Dravik, RecordedPath::AsRecorded), "5");
    EXPECT_EQ(ProductFolder(reg, ProductKind::Dravik, RecordedPath::FolderOnly), "");
    EXPECT_EQ(ProductFolder(reg, ProductKind::Kalvisto, RecordedPath::FolderOnly), "C:\\Kalvisto\\");
    EXPECT_EQ(ProductFolder(reg, ProductKind::Telvarin, RecordedPath::AsRecorded), "");
    // No record at all for these kinds: the registry is not even asked.
    reg.Restrict(HKCU, "SOFTWARE\\QUORVEX S.A.\\Margolin", 0);
    EXPECT_EQ(ProductFolder(reg, ProductKind::Margolin, RecordedPath::AsRecorded), "");
    EXPECT_EQ(ProductFolder(reg, ProductKind::PdfLibrary, RecordedPath::AsRecorded), "");
}

TEST(ProductCatalogue, SetProductFolderCreatesOnlyTheProgramKey)
{
    test::MemoryRegistry reg;
    EXPECT_TRUE(SetProductFolder(reg, ProductKind::Sovenza, "C:\\Quorvex5\\svz\\SA-00.int"));
    EXPECT_EQ(reg.Find(HKCU, "SOFTWARE\\QUORVEX S.A.\\Sovenza\\Program", "Filename")->text,
              "C:\\Quorvex5\\svz\\SA-00.int");
    EXPECT_FALSE(SetProductFolder(reg, ProductKind::Kalvisto, "C:\\K\\"));
    EXPECT_FALSE(reg.HasKey(HKCU, "SOFTWARE\\QUORVEX S.A.\\Kalvisto"));
    EXPECT_FALSE(SetProductFolder(reg, ProductKind::Margolin, "C:\\M\\"));
    // A record kept as an integer stays one.
    reg.Seed(HKCU, "SOFTWARE\\QUORVEX S.A.\\Dravik\\Program", "Filename",
             {RegistryType::Dword, {}, 1});
    EXPECT_TRUE(SetProductFolder(reg, ProductKind::Dravik, "12"));
    EXPECT_EQ(reg.Find(HKCU, "SOFTWARE\\QUORVEX S.A.\\Dravik\\Program", "Filename")->number, 12u);
}

TEST(ProductCatalogue, DatabasePathFallBacks)
{
    struct Case {
        ProductKind kind;
        const char* config;
        const char* seededKey;  // below the maker's key
        const char* value;
        const char* expected;
    };
    const Case cases[] = {
        {ProductKind::Telvarin, "Default", "Telvarin\\Paths\\TVP_DatabaseName", "Path", "C:\\DB\\TVP.FDB"},
        {ProductKind::Telvarin, "ACME", "Telvarin\\ACME\\TVP_DatabaseName", "Path", "C:\\DB\\TVP.FDB"},
        {ProductKind::TelvarinIngenieur, "ACME", "Telvarin Ingenieur\\Default\\TVP_DatabaseName", "Path",
         "C:\\DB\\TVP.FDB"},
        {ProductKind::Repertex, "ACME", "Repertex\\Paths", "DatabaseName", "C:\\DB\\TVP.FDB"},
        {ProductKind::Obrenta, "ACME", "Obrenta\\ACME", "ConnectionString", "C:\\DB\\TVP.FDB"},
        {ProductKind::Obrenta, "ACME", "Obrenta\\Default", "ConnectionString", ""},  // no fall-back
        {ProductKind::Dravik, "Default", "Dravik\\Default", "ConnectionString", "C:\\DB\\TVP.FDB"},
        {ProductKind::QuorvexFinance, "Default", "Quorvex Finance\\Default", "Path", ""},
    };
    for (const auto& c : cases) {
        test::MemoryRegistry reg;
        const std::string key = std::string("SOFTWARE\\QUORVEX S.A.\\") + c.seededKey;
        reg.Seed(HKLM, key, c.value, {RegistryType::String, "C:\\DB\\TVP.FDB"});
        // As a standard user has the machine's keys: readable, not writable.
        reg.Restrict(HKLM, key, kKeyRead);
        EXPECT_EQ(ProductDatabasePath(reg, c.kind, c.config, RecordedPath::AsRecorded), c.expected)
            << KindNumber(c.kind) << " " << c.seededKey;
        EXPECT_EQ(ProductDatabasePath(reg, c.kind, c.config, RecordedPath::FolderOnly),
                  *c.expected ? "C:\\DB\\" : "")
            << KindNumber(c.kind);
    }
}

TEST(ProductCatalogue, RootFolderFromTheFirstRecord)
{
    test::MemoryRegistry reg;
    test::EngineFileSystem files;
    EXPECT_EQ(ProductsRootFolder(reg, files), "");
    reg.Seed(HKCU, "SOFTWARE\\QUORVEX S.A.\\Dravik\\Program", "Filename",
             {RegistryType::String, "C:\\Apps\\WQuorvex\\Dravik\\Programs\\Dravik.exe"});
    // The folder does not exist: the record's folder as it is.
    EXPECT_EQ(ProductsRootFolder(reg, files), "C:\\Apps\\WQuorvex\\Dravik\\Programs\\");
    files.AddFolder("C:\\Apps\\WQuorvex\\Dravik\\Programs");
    EXPECT_EQ(ProductsRootFolder(reg, files), "C:\\Apps\\WQuorvex\\");
    // Obrenta comes before Dravik.
    reg.Seed(HKCU, "SOFTWARE\\QUORVEX S.A.\\Obrenta\\Program", "Filename",
             {RegistryType::String, "E:\\Q\\Obrenta\\Programs\\Obrenta.exe"});
    EXPECT_EQ(ProductsRootFolder(reg, files), "E:\\Q\\Obrenta\\Programs\\");
}

}  // namespace
}  // namespace qv
