#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

#include "core/Errors.h"
#include "engine/CompanyList.h"
#include "engine/UpdateEngine.h"
#include "support/EngineDoubles.h"
#include "support/MemoryFileSystem.h"
#include "support/TestPackage.h"

namespace qv {
namespace {

using testing::ElementsAre;
using testing::ElementsAreArray;
using testing::IsEmpty;

constexpr auto HKCU = RegistryHive::CurrentUser;
constexpr auto HKLM = RegistryHive::LocalMachine;

test::MemoryRegistryValue Text(std::string s)
{
    test::MemoryRegistryValue v;
    v.text = std::move(s);
    return v;
}

class CompanyListTest : public testing::Test {
protected:
    test::MemoryFileSystem files;
    test::EngineServices services;
    test::MemoryRegistry& registry = services.registry;

    CompanyList Loaded()
    {
        CompanyList companies(files, registry);
        companies.LoadCompanies();
        return companies;
    }
    std::string LastCompany()
    {
        const auto* v = registry.Find(HKCU, kCompanyChoiceKey, kLastCompanyValue);
        return v ? v->text : "(none)";
    }
    static std::string MessageOf(const std::function<void()>& f)
    {
        try {
            f();
        } catch (const Error& e) {
            return e.Message();
        }
        return "(no error)";
    }
};

TEST_F(CompanyListTest, TheFirstPlaceOfTheSearchOrderWins)
{
    struct Case {
        const char* what;
        std::string windowsFolder;
        std::vector<std::string> present;
        std::string expected;
    } cases[] = {
        {"nothing anywhere", "C:\\WINDOWS\\", {}, ""},
        {"first and third place on C",
         "C:\\WINDOWS\\",
         {"C:\\wquorvex\\multiste.txt", "C:\\quorvex\\multiste.txt"},
         "C:\\quorvex\\multiste.txt"},
        {"double extension only when the plain name is absent",
         "C:\\WINDOWS\\",
         {"C:\\quorvex\\multiste.txt.txt", "C:\\quorvex\\multiste.txt"},
         "C:\\quorvex\\multiste.txt"},
        {"double extension before the next folder",
         "C:\\WINDOWS\\",
         {"C:\\wquorvex\\multiste.txt", "C:\\quorvex\\multiste.txt.txt"},
         "C:\\quorvex\\multiste.txt.txt"},
        {"third place", "C:\\WINDOWS\\", {"C:\\wquorvex\\multiste.txt"}, "C:\\wquorvex\\multiste.txt"},
        {"fourth place",
         "C:\\WINDOWS\\",
         {"C:\\wquorvex\\multiste.txt.txt"},
         "C:\\wquorvex\\multiste.txt.txt"},
        {"drive C before the Windows drive",
         "D:\\WINNT\\",
         {"D:\\quorvex\\multiste.txt", "C:\\wquorvex\\multiste.txt.txt"},
         "C:\\wquorvex\\multiste.txt.txt"},
        {"the Windows drive when C has none",
         "D:\\WINNT\\",
         {"D:\\wquorvex\\multiste.txt", "E:\\quorvex\\multiste.txt"},
         "D:\\wquorvex\\multiste.txt"},
        {"no other drive is searched",
         "C:\\WINDOWS\\",
         {"D:\\quorvex\\multiste.txt", "C:\\quorvex\\other.txt"},
         ""},
        {"no Windows folder: drive C only", "", {"D:\\quorvex\\multiste.txt"}, ""},
    };
    for (const auto& c : cases) {
        files.files.clear();
        files.windowsFolder = c.windowsFolder;
        for (const auto& path : c.present)
            files.Put(path, path);  // each file names itself
        CompanyList companies = Loaded();
        EXPECT_EQ(companies.CompanyFile(), c.expected) << c.what;
        if (c.expected.empty()) {
            EXPECT_EQ(companies.Count(), 0) << c.what;
        } else {
            ASSERT_EQ(companies.Count(), 1) << c.what;
            EXPECT_TRUE(EqualsIgnoreCaseAscii(companies.Entry(0), c.expected)) << c.what;
        }
    }
}

TEST_F(CompanyListTest, EntriesStandExactlyAsTheFileHasThem)
{
    struct Case {
        std::string content;
        std::vector<std::string> expected;
    } cases[] = {
        {"Dupont SA\r\nMartin\r\n", {"Dupont SA", "Martin"}},
        {"Dupont SA\rMartin", {"Dupont SA", "Martin"}},      // lone CR, no end on the last line
        {"Dupont SA\nMartin\n", {"Dupont SA", "Martin"}},    // lone LF
        {"Dupont\r\n\r\nMartin\r\n", {"Dupont", "", "Martin"}},  // "" is the company Default
        {"\r\n", {""}},
        {"Martin\r\nDupont\r\nMartin\r\n", {"Martin", "Dupont", "Martin"}},  // kept, not sorted
        {"  Dupont SA \t\r\n", {"  Dupont SA \t"}},                          // not trimmed
        {std::string("Dupont\r\nMartin\0Hidden\r\n", 23), {"Dupont", "Martin"}},
        {"", {}},
    };
    for (const auto& c : cases) {
        files.Put("C:\\quorvex\\multiste.txt", c.content);
        CompanyList companies = Loaded();
        EXPECT_THAT(companies.Entries(), ElementsAreArray(c.expected)) << c.content;
        ASSERT_EQ(companies.Count(), static_cast<int>(c.expected.size()));
        for (int i = 0; i < companies.Count(); ++i)
            EXPECT_EQ(companies.Entry(i), c.expected[i]);
    }
}

TEST_F(CompanyListTest, TheLastCompanyChosenIsSelectedElseTheFirst)
{
    struct Case {
        std::string content;
        const char* last;  // nullptr: never recorded
        int selected;
    } cases[] = {
        {"Dupont\r\nMartin\r\nRoche\r\n", "martin", 1},
        {"Dupont\r\nMartin\r\nMARTIN\r\n", "Martin", 1},  // the first match
        {"Dupont\r\nSoci\xE9t\xE9 G\xE9n\xE9rale\r\n", "SOCI\xC9T\xC9 G\xC9N\xC9RALE", 1},
        {"Dupont\r\nMartin\r\n", "Roche", 0},
        {"Dupont\r\nMartin\r\n", nullptr, 0},
        {"Dupont\r\n\r\nMartin\r\n", nullptr, 1},  // nothing recorded reads as "": Default
        {"Dupont\r\nMartin\r\n", "Martin ", 0},    // no trimming in the comparison
        {"", "Dupont", -1},
    };
    for (const auto& c : cases) {
        registry.DeleteRegistryKey(HKCU, kCompanyChoiceKey);
        if (c.last)
            registry.Seed(HKCU, kCompanyChoiceKey, kLastCompanyValue, Text(c.last));
        files.Put("C:\\quorvex\\multiste.txt", c.content);
        CompanyList companies = Loaded();
        EXPECT_EQ(companies.SelectedIndex(), c.selected) << c.content << " / " << (c.last ? c.last : "-");
    }
}

TEST_F(CompanyListTest, TheMachineWideKeyIsGoneAfterEveryStart)
{
    struct Case {
        const char* what;
        bool companyFile;
        bool locked;  // no right to delete it: ignored
    } cases[] = {
        {"with a company file", true, false},
        {"without a company file", false, false},
        {"a key that cannot be deleted", false, true},
    };
    for (const auto& c : cases) {
        files.files.clear();
        if (c.companyFile)
            files.Put("C:\\wquorvex\\multiste.txt", "Dupont\r\n");
        registry.Seed(HKLM, kMultiCompanyMachineKey, "Actif", Text("1"));
        registry.Seed(HKLM, std::string(kMultiCompanyMachineKey) + "\\Dupont", "Base", Text("x"));
        if (c.locked)
            registry.Restrict(HKLM, kMultiCompanyMachineKey, kKeyRead);

        CompanyList companies(files, registry);
        EXPECT_NO_THROW(companies.LoadCompanies()) << c.what;
        EXPECT_EQ(registry.HasKey(HKLM, kMultiCompanyMachineKey), c.locked) << c.what;
        EXPECT_EQ(companies.Count(), c.companyFile ? 1 : 0) << c.what;
        if (c.locked) {  // give it back its rights for the next case
            registry.Restrict(HKLM, kMultiCompanyMachineKey, kKeyAllAccess);
            registry.DeleteRegistryKey(HKLM, kMultiCompanyMachineKey);
        }
    }
    // The key of the last company chosen is the user's own and stays.
    registry.Seed(HKCU, kCompanyChoiceKey, kLastCompanyValue, Text("Dupont"));
    Loaded();
    EXPECT_EQ(LastCompany(), "Dupont");
}

TEST_F(CompanyListTest, WhatCannotBeReadStopsTheLoadingWithItsMessage)
{
    files.Put("C:\\quorvex\\multiste.txt", "Dupont\r\n").unreadable = true;
    CompanyList companies(files, registry);
    EXPECT_EQ(MessageOf([&] { companies.LoadCompanies(); }),
              "Impossible d'ouvrir le fichier C:\\quorvex\\multiste.txt");
    EXPECT_EQ(companies.Count(), 0);

    files.Put("C:\\quorvex\\multiste.txt", "Dupont\r\n").unreadable = false;
    registry.Seed(HKCU, kCompanyChoiceKey, kLastCompanyValue, Text("Dupont"));
    registry.Restrict(HKCU, kCompanyChoiceKey, kKeyExistsAccess);  // seen, not readable
    const std::string readFailed =
        "Lecture d'une valeur de registre impossible : \r\nVeuillez contr\xF4ler vos droits d'acc\xE8s.";
    EXPECT_EQ(MessageOf([&] { companies.LoadCompanies(); }), readFailed);

    // The engine is not made at all.
    auto package = test::MakePackage({});
    EXPECT_EQ(MessageOf([&] {
                  UpdateEngine engine(*package, files, registry, services.user, services.messages,
                                      services.versions, services.workstation);
              }),
              readFailed);
}

TEST_F(CompanyListTest, AFileTooLargeOrInAnotherEncodingIsRefusedWithItsReason)
{
    constexpr std::size_t kBound = 1024 * 1024;
    const std::string path = "C:\\quorvex\\multiste.txt";
    const std::string encoding = "Le fichier des soci\xE9t\xE9s " + path +
                                 " n'est pas dans le codage attendu : il est enregistr\xE9 en ";
    const std::string advice = ". Enregistrez-le en texte ANSI (Windows-1252).";
    const std::string filler(kBound - 8, 'x');
    const struct {
        const char* what;
        std::string content;
        std::string message;  // "(no error)" when the names are read
        std::vector<std::string> names;
    } cases[] = {
        {"UTF-16, little-endian", std::string("\xFF\xFE" "D\0u\0p\0o\0n\0t\0\r\0\n\0", 16),
         encoding + "UTF-16" + advice, {}},
        {"UTF-16, big-endian", std::string("\xFE\xFF\0D\0u\0p\0o\0n\0t", 14),
         encoding + "UTF-16" + advice, {}},
        {"UTF-8 with its mark", "\xEF\xBB\xBFSoci\xC3\xA9t\xC3\xA9\r\n", encoding + "UTF-8" + advice, {}},
        {"one byte over the bound", filler + "\r\nDupont\r\n",
         "Le fichier des soci\xE9t\xE9s " + path +
             " est trop volumineux (plus de 1048576 octets) : il n'est pas lu.",
         {}},
        {"at the bound", filler + "\r\nDupont", "(no error)", {filler, "Dupont"}},
        {"Windows-1252", "Soci\xE9t\xE9 G\xE9n\xE9rale\r\n", "(no error)", {"Soci\xE9t\xE9 G\xE9n\xE9rale"}},
    };
    for (const auto& c : cases) {
        files.Put(path, c.content);
        CompanyList companies(files, registry);
        EXPECT_EQ(MessageOf([&] { companies.LoadCompanies(); }), c.message) << c.what;
        EXPECT_EQ(companies.Entries(), c.names) << c.what;
    }
}

TEST_F(CompanyListTest, OkRemembersTheChoiceAnnulerAndEscapeCancel)
{
    files.Put("C:\\quorvex\\multiste.txt", "Dupont\r\n\r\nMartin\r\n");
    {
        CompanyList companies = Loaded();
        EXPECT_TRUE(companies.Cancelled());  // until OK
        companies.Select(2);
        companies.ConfirmSelection();
        EXPECT_FALSE(companies.Cancelled());
        EXPECT_EQ(LastCompany(), "Martin");
        companies.CancelSelection();
        EXPECT_TRUE(companies.Cancelled());
        EXPECT_EQ(LastCompany(), "Martin");
        companies.Select(1);  // Default
        companies.ConfirmSelection();
        EXPECT_EQ(LastCompany(), "");
        EXPECT_THROW(companies.Select(3), Error);
    }
}

TEST_F(CompanyListTest, AChoiceThatCannotBeRememberedStillStands)
{
    files.Put("C:\\quorvex\\multiste.txt", "Dupont\r\nMartin\r\n");
    registry.Seed(HKCU, kCompanyChoiceKey, kLastCompanyValue, Text("Dupont"));
    registry.Restrict(HKCU, kCompanyChoiceKey, kKeyRead);
    CompanyList companies = Loaded();
    companies.Select(1);
    EXPECT_NO_THROW(companies.ConfirmSelection());
    EXPECT_FALSE(companies.Cancelled());
    EXPECT_EQ(LastCompany(), "Dupont");
}

TEST_F(CompanyListTest, TheEngineHoldsTheListLoadedAtItsCreation)
{
    files.Put("C:\\quorvex\\multiste.txt", "Dupont\r\nMartin\r\n");
    registry.Seed(HKLM, kMultiCompanyMachineKey, "Actif", Text("1"));
    auto package = test::MakePackage({});
    UpdateEngine engine(*package, files, registry, services.user, services.messages,
                        services.versions, services.workstation);
    EXPECT_FALSE(registry.HasKey(HKLM, kMultiCompanyMachineKey));
    EXPECT_THAT(engine.Companies().Entries(), ElementsAre("Dupont", "Martin"));
    EXPECT_EQ(engine.Companies().CompanyFile(), "C:\\quorvex\\multiste.txt");
    EXPECT_TRUE(engine.Companies().Cancelled());

    // A company file written later is not seen.
    files.Put("C:\\quorvex\\multiste.txt", "Roche\r\n");
    EXPECT_EQ(engine.Companies().Count(), 2);
    EXPECT_EQ(engine.Companies().Entry(1), "Martin");
}

}  // namespace
}  // namespace qv
