#include <gtest/gtest.h>

#include "core/Errors.h"
#include "core/Format.h"
#include "core/Text.h"

namespace qv {
namespace {

struct LinesCase {
    const char* name;
    std::string input;
    std::vector<std::string> lines;
};

TEST(SplitLines, TerminatorsAndEnds)
{
    const LinesCase cases[] = {
        {"empty", "", {}},
        {"crlf", "a\r\nb", {"a", "b"}},
        {"final crlf adds nothing", "a\r\n", {"a"}},
        {"lone cr and lf", "a\rb\nc", {"a", "b", "c"}},
        {"lf cr is two breaks", "a\n\rb", {"a", "", "b"}},
        {"empty lines kept", "\r\n\r\nx", {"", "", "x"}},
        {"text ends at nul", std::string("a\r\nb\0c\r\nd", 10), {"a", "b"}},
        {"only a terminator", "\n", {""}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SplitLines(c.input), c.lines) << c.name;
}

TEST(Format, PlaceholdersInOrder)
{
    EXPECT_EQ(Format("%d répertoires %s ont été trouvés", {2, "Quorvex5"}),
              "2 répertoires Quorvex5 ont été trouvés");
    EXPECT_EQ(Format("100%% de %s", {"x"}), "100% de x");
    EXPECT_EQ(Format("%s et %s", {"seul"}), "seul et %s");
    EXPECT_EQ(Format("%x %", {1}), "%x %");
}

TEST(Text, CaseFoldingIsAsciiOnly)
{
    EXPECT_EQ(UpperAscii("gs\\date.int"), "GS\\DATE.INT");
    EXPECT_EQ(UpperAscii("é"), "é");  // CP1252 0xE9 is not folded
    EXPECT_TRUE(EqualsIgnoreCaseAscii("frmWelcome", "FRMWELCOME"));
    EXPECT_FALSE(EqualsIgnoreCaseAscii("é", "É"));
}

TEST(Text, Cp1252LowerCaseFollowsWindows)
{
    // Every capital of the code page and its small letter; the signs and the
    // small letters without a capital stay.
    EXPECT_EQ(LowerCp1252("ÉTATS\\ÀÇÈÊÎÔÙÛÜŒŠŽŸÞ-ABC"), "états\\àçèêîôùûüœšžÿþ-abc");
    EXPECT_EQ(LowerCp1252("×÷ßÿµ@[`{"), "×÷ßÿµ@[`{");
    for (int c = 0; c < 256; ++c) {
        const std::string one(1, static_cast<char>(c));
        EXPECT_TRUE(EqualsIgnoreCaseCp1252(LowerCp1252(one), one)) << c;
    }
}

TEST(Text, Cp1252RoundTripsThroughUtf8)
{
    std::string cp = "Mise à jour : 10 € – ok";
    EXPECT_EQ(Cp1252ToUtf8(cp), "Mise \xC3\xA0 jour : 10 \xE2\x82\xAC \xE2\x80\x93 ok");
    EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(cp)), cp);
}

TEST(Text, Cp1252RoundTripsThroughUtf16)
{
    std::string every;
    for (int c = 1; c < 256; ++c)
        every += static_cast<char>(c);
    std::u16string wide = Cp1252ToUtf16(every);
    ASSERT_EQ(wide.size(), every.size());
    EXPECT_EQ(wide[0x80 - 1], u'\u20AC');
    EXPECT_EQ(wide[0xE9 - 1], u'\u00E9');
    EXPECT_EQ(Utf16ToCp1252(wide), every);
    EXPECT_EQ(Utf16ToCp1252(u"\u4E2D"), "?");
}

TEST(Errors, SystemErrorMessage)
{
    EXPECT_EQ(SystemErrorMessage(5, "Accès refusé.\r\n"),
              "Erreur système.  Code : 5.\r\nAccès refusé.\r\n");
    EXPECT_EQ(SystemErrorMessage(0, "ignored"),
              "Un appel à une fonction du système d'exploitation a échoué");
    FirebirdError e("lock conflict", -901, 335544345);
    EXPECT_EQ(e.SqlCode(), -901);
    EXPECT_EQ(e.FirebirdCode(), 335544345);
    EXPECT_STREQ(SilentAbort().what(), "");
}

}  // namespace
}  // namespace qv
