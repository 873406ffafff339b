#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/Errors.h"
#include "core/Manifests.h"

namespace qv::manifest {
namespace {

using Lines = std::vector<std::string>;

TEST(UpdatesManifest, KeepsCatalogueNamesCaseSensitivelyAndOnce)
{
    struct Case {
        Lines lines;
        Lines kept;
    } cases[] = {
        {{"Quorvex Finance"}, {"Quorvex Finance"}},
        {{"Telvarin"}, {"Telvarin"}},
        {{"telvarin"}, {}},                       // the filter is case-sensitive
        {{"Telvarin Ingenieur", "Telvarin"}, {"Telvarin Ingenieur", "Telvarin"}},
        {{"Finance", "Unknown", "Quorvex Finance"}, {"Finance", "Quorvex Finance"}},  // parts count
        {{"Margolin", "Margolin"}, {"Margolin"}},
        {{"", "Margolin"}, {"Margolin"}},
        {{}, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FilterUpdateLines(c.lines), c.kept) << testing::PrintToString(c.lines);
}

TEST(StepsManifest, PlacesNamedPagesAfterTheFirstTwo)
{
    const Lines standard = {"frmWelcome", "frmDisplayFile", "frmEndInstall"};
    const Lines known = {"frmWelcome", "frmDisplayFile", "frmEndInstall", "frmCompany", "frmOptions"};
    struct Case {
        Lines lines;
        Lines pages;
    } cases[] = {
        {{}, {"frmWelcome", "frmDisplayFile", "frmEndInstall"}},
        {{"FRMOPTIONS", "frmcompany"}, {"frmWelcome", "frmDisplayFile", "frmOptions", "frmCompany", "frmEndInstall"}},
        {{"frmEndInstall", "frmOptions"}, {"frmWelcome", "frmDisplayFile", "frmEndInstall", "frmOptions"}},
        {{"frmOptions", "frmOptions", "frmWelcome", "nothing", ""}, {"frmWelcome", "frmDisplayFile", "frmOptions", "frmEndInstall"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ApplyStepLines(c.lines, standard, known), c.pages) << testing::PrintToString(c.lines);
}

TEST(FixedNames, NameWhatEachProcedureCannotDoWithout)
{
    EXPECT_THAT(FixedPackagedNames(ProductKind::QuorvexFinance), testing::ElementsAre("gs\\GS-00.int"));
    EXPECT_THAT(FixedPackagedNames(ProductKind::Obrenta), testing::ElementsAre("Obrenta.exe", "TVE_intf.dll"));
    EXPECT_THAT(FixedPackagedNames(ProductKind::TelvarinIngenieur), testing::ElementsAre("TELVARIN.EXE"));
    EXPECT_TRUE(FixedPackagedNames(ProductKind::None).empty());
}

// The lines of FileNames.txt and PrintLists.txt as the program loads them:
// the first refused line is named; an empty line is left to its copy.
TEST(NameLines, TheFirstRefusedLineIsNamed)
{
    struct Case {
        Lines lines;
        const char* message;  // nullptr: accepted
    } cases[] = {
        {{"gs\\date.int", "", "images07\\logo.bmp", "Factures.lst"}, nullptr},
        {{"gs\\date.int", "gs\\nul.int", "con"}, "FileNames.txt, ligne 2 : le nom \"gs\\nul.int\" est refusé"},
        {{"a", "b", "c.", "d"}, "ligne 3 : le nom \"c.\" est refusé : un de ses éléments se termine"},
        {{"..\\..\\Windows\\x.dll"}, "ligne 1"},
        {{"gs\\a?.int"}, "caractère interdit"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.lines));
        if (!c.message) {
            EXPECT_NO_THROW(CheckInstalledNameLines(kFileNames, c.lines));
            continue;
        }
        try {
            CheckInstalledNameLines(kFileNames, c.lines);
            ADD_FAILURE() << "accepted";
        } catch (const Error& e) {
            EXPECT_THAT(e.Message(), testing::HasSubstr(c.message));
        }
    }
}

}  // namespace
}  // namespace qv::manifest
