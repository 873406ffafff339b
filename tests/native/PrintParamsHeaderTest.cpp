// The header of a print-parameter list and the text stored for it.
#include <gtest/gtest.h>

#include "database/PrintParamsStore.h"

namespace qv {
namespace {

struct HeaderCase {
    const char* what;
    std::vector<std::string> lines;
    PrintParamsHeader expected;  // compat, d, f, i
};

TEST(PrintParamsHeader, TagsFallBacksAndComments)
{
    const std::string long300(300, 'L');
    const HeaderCase cases[] = {
        {"no header line: the list name everywhere", {"body 1", "body 2"},
         {"", "factures", "factures", "factures"}},
        {"DES:X: with a comment fills the three descriptions",
         {"DES:X:Facture standard   /* old */", "x=1"},
         {"", "Facture standard", "Facture standard", "Facture standard"}},
        {"a description that is only a comment stays empty",
         {"DES:F:/* nothing */", "DES:X:Générique"}, {"", "Générique", "", "Générique"}},
        {"each letter its own line; COM: trimmed and uncommented",
         {"COM:  V2 /* since 2004 */", "DES:D:Rechnung", "DES:F:Facture", "DES:I:Fattura"},
         {"V2", "Rechnung", "Facture", "Fattura"}},
        {"the first line of a tag wins; tags are case-sensitive and at the line start",
         {"des:F:lower", " DES:F:indented", "DES:F:first", "DES:F:second", "COM:a", "COM:b"},
         {"a", "factures", "first", "factures"}},
        {"blanks and control characters around a value go",
         {"DES:F:\t Facture\t ", "DES:X:  "}, {"", "", "Facture", ""}},
        {"at most 255 characters after the tag", {"DES:F:" + long300, "COM:" + long300},
         {std::string(255, 'L'), "factures", std::string(255, 'L'), "factures"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadPrintParamsHeader(c.lines, "factures"), c.expected) << c.what;
}

TEST(PrintParamsHeader, StoredTextEndsEveryLineWithCrLf)
{
    EXPECT_EQ(PrintParamsText({"a", "", "b"}), "a\r\n\r\nb\r\n");
    EXPECT_EQ(PrintParamsText({}), "");
}

}  // namespace
}  // namespace qv
