// The switches of an unattended run, the bytes of its log file and its exit
// codes.
#include <gtest/gtest.h>

#include "core/CommandLine.h"
#include "core/ExitCode.h"
#include "platform/ReportLog.h"

namespace qv {
namespace {

TEST(CommandLine, Switches)
{
    struct Case {
        const char* line;
        RunMode mode;
        bool suppress, replaceSame, help;
        const char* log;
        const char* bad;
    };
    const Case cases[] = {
        {"", RunMode::Wizard, false, false, false, "", ""},
        {"   ", RunMode::Wizard, false, false, false, "", ""},
        {"/SILENT", RunMode::Silent, false, false, false, "", ""},
        {"/silent /SuppressMsgBoxes", RunMode::Silent, true, false, false, "", ""},
        {"/VERYSILENT /SUPPRESSMSGBOXES /REPLACESAME", RunMode::VerySilent, true, true, false, "", ""},
        {"/SILENT /VERYSILENT", RunMode::VerySilent, false, false, false, "", ""},
        {"/VERYSILENT /LOG=C:\\temp\\update.log", RunMode::VerySilent, false, false, false,
         "C:\\temp\\update.log", ""},
        {"/log=\"C:\\Program Files\\journal maj.txt\" /silent", RunMode::Silent, false, false, false,
         "C:\\Program Files\\journal maj.txt", ""},
        {"\"/LOG=C:\\a b\\\" /SILENT", RunMode::Silent, false, false, false, "C:\\a b\\", ""},
        {"\t/VERYSILENT\t/LOG=x.log  ", RunMode::VerySilent, false, false, false, "x.log", ""},
        {"/?", RunMode::Wizard, false, false, true, "", ""},
        {"/SILENT /?", RunMode::Silent, false, false, true, "", ""},
        {"/SILENT /QUIET", RunMode::Silent, false, false, false, "", "/QUIET"},
        {"update.log", RunMode::Wizard, false, false, false, "", "update.log"},
        {"-SILENT", RunMode::Wizard, false, false, false, "", "-SILENT"},
        {"/LOG", RunMode::Wizard, false, false, false, "", "/LOG"},
        {"/LOG=", RunMode::Wizard, false, false, false, "", "/LOG="},
        {"/LOG=\"\"", RunMode::Wizard, false, false, false, "", "/LOG="},
        {"/LOG=a.log /LOG=b.log", RunMode::Wizard, false, false, false, "a.log", "/LOG=b.log"},
        {"/SILENTLY", RunMode::Wizard, false, false, false, "", "/SILENTLY"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const LaunchOptions o = ParseCommandLine(c.line);
        EXPECT_EQ(o.mode, c.mode);
        EXPECT_EQ(o.suppressMessageBoxes, c.suppress);
        EXPECT_EQ(o.replaceSame, c.replaceSame);
        EXPECT_EQ(o.showHelp, c.help);
        EXPECT_EQ(o.logPath, c.log);
        EXPECT_EQ(o.badArgument, c.bad);
    }
}

// Whoever asks for no box anywhere on the line gets none, even on a line
// that is refused; a quote left open refuses the line and hides nothing
// after it.
TEST(CommandLine, SuppressionAskedAndOpenQuotes)
{
    struct Case {
        const char* line;
        bool suppressionAsked;
        const char* bad;
        const char* log;
        RunMode mode;
    };
    const Case cases[] = {
        {"/VERYSILENT /SUPPRESSMSGBOXES /?", true, "", "", RunMode::VerySilent},
        {"-VERYSILENT -SUPPRESSMSGBOXES", true, "-VERYSILENT", "", RunMode::Wizard},
        {"/VERYSILENT/SUPPRESSMSGBOXES", true, "/VERYSILENT/SUPPRESSMSGBOXES", "", RunMode::Wizard},
        {"/suppressmsgboxes /QUIET", true, "/QUIET", "", RunMode::Wizard},
        {"/QUIET", false, "/QUIET", "", RunMode::Wizard},
        {"SUPPRESSMSGBOXES", false, "SUPPRESSMSGBOXES", "", RunMode::Wizard},
        {"/VERYSILENT /SUPPRESSMSGBOXES /LOG=\"C:\\a b.log", true, "/LOG=\"C:\\a b.log", "",
         RunMode::VerySilent},
        {"/LOG=\"C:\\x.log /VERYSILENT", false, "/LOG=\"C:\\x.log /VERYSILENT", "", RunMode::Wizard},
        {"/LOG=a.log \"", false, "\"", "a.log", RunMode::Wizard},
        {"/LOG=\"C:\\a b.log\" /SILENT", false, "", "C:\\a b.log", RunMode::Silent},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const LaunchOptions o = ParseCommandLine(c.line);
        EXPECT_EQ(o.suppressionAsked, c.suppressionAsked);
        EXPECT_EQ(o.badArgument, c.bad);
        EXPECT_EQ(o.logPath, c.log);
        EXPECT_EQ(o.mode, c.mode);
    }
}

// The line as Windows keeps it: the program's name is skipped, the rest is
// read in Windows-1252; a character without a Windows-1252 form is refused
// rather than turned into another file name.
TEST(CommandLine, FromTheWideCommandLine)
{
    struct Case {
        std::u16string line;
        const char* log;
        const char* bad;
        RunMode mode;
    };
    const Case cases[] = {
        {u"\"C:\\Program Files\\quorvex-update.exe\" /VERYSILENT /LOG=\"C:\\Journaux\\\u00e9t\u00e9 \u20ac.log\"",
         "C:\\Journaux\\\xE9t\xE9 \x80.log", "", RunMode::VerySilent},
        {u"quorvex-update.exe /SILENT", "", "", RunMode::Silent},
        {u"quorvex-update.exe", "", "", RunMode::Wizard},
        {u"\"C:\\x\\quorvex update.exe\"/SILENT", "", "", RunMode::Wizard},
        {u"q.exe /VERYSILENT /LOG=C:\\\u65e5\u672c.log", "", "/LOG=C:\\??.log", RunMode::VerySilent},
        {u"q.exe /LOG=C:\\\U0001F600.log", "", "/LOG=C:\\??.log", RunMode::Wizard},
    };
    for (const Case& c : cases) {
        const LaunchOptions o = ParseWideCommandLine(c.line);
        SCOPED_TRACE(o.badArgument);
        EXPECT_EQ(o.logPath, c.log);
        EXPECT_EQ(o.badArgument, c.bad);
        EXPECT_EQ(o.mode, c.mode);
    }
}

TEST(CommandLine, TheAnswerPolicyNeedsASilentMode)
{
    EXPECT_FALSE(ParseCommandLine("/SUPPRESSMSGBOXES").AnswersByPolicy());
    EXPECT_TRUE(ParseCommandLine("/SILENT /SUPPRESSMSGBOXES").AnswersByPolicy());
    EXPECT_TRUE(ParseCommandLine("/SUPPRESSMSGBOXES /VERYSILENT").AnswersByPolicy());
    EXPECT_FALSE(ParseCommandLine("/VERYSILENT").AnswersByPolicy());
    EXPECT_TRUE(ParseCommandLine("/VERYSILENT").Windowless());
    EXPECT_FALSE(ParseCommandLine("/SILENT").Windowless());
}

TEST(ReportLog, EachLineIsUtf8EndingInCrLf)
{
    const std::pair<std::string, std::string> cases[] = {
        {"Copie de C:\\x", "Copie de C:\\x\r\n"},
        {"vers C:\\y\r\n", "vers C:\\y\r\n\r\n"},
        {"\r\nLa mise \xE0 jour est termin\xE9" "e avec succ\xE8s.",
         "\r\nLa mise \xC3\xA0 jour est termin\xC3\xA9" "e avec succ\xC3\xA8s.\r\n"},
        {"a\nb\rc\r\n\r\nd", "a\r\nb\r\nc\r\n\r\nd\r\n"},
        {"", "\r\n"},
        {"\x80 \x9C", "\xE2\x82\xAC \xC5\x93\r\n"},  // euro sign, oe ligature
    };
    for (const auto& [text, bytes] : cases)
        EXPECT_EQ(ReportLogBytes(text), bytes) << text;
    EXPECT_STREQ(kUtf8ByteOrderMark, "\xEF\xBB\xBF");
}

TEST(ExitCodes, OfARun)
{
    struct Case {
        RunOutcome outcome;
        ExitCode code;
    };
    const Case cases[] = {
        {{true, false, UpdateStatus::Ok}, ExitCode::Ok},
        {{true, false, UpdateStatus::Warning}, ExitCode::Warning},
        {{true, false, UpdateStatus::Not}, ExitCode::Not},
        {{true, false, UpdateStatus::Ko}, ExitCode::Ko},
        {{true, false, UpdateStatus::Unknown}, ExitCode::RunFailed},
        {{true, true, UpdateStatus::Unknown}, ExitCode::RunFailed},
        {{false, false, UpdateStatus::Unknown}, ExitCode::NoKnownProduct},
        {{false, true, UpdateStatus::Unknown}, ExitCode::RunFailed},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ExitCodeOf(c.outcome), c.code) << int(c.outcome.status) << c.outcome.failed;
    // Every code of the table in docs/deployment.md is distinct.
    const ExitCode all[] = {ExitCode::Ok, ExitCode::RunFailed, ExitCode::Ko, ExitCode::Not,
                            ExitCode::Warning, ExitCode::NoKnownProduct, ExitCode::Cancelled,
                            ExitCode::AlreadyRunning, ExitCode::BadCommandLine,
                            ExitCode::LogNotCreated, ExitCode::LogIncomplete};
    for (std::size_t i = 0; i < std::size(all); ++i)
        EXPECT_EQ(static_cast<int>(all[i]), static_cast<int>(i));
}

}  // namespace
}  // namespace qv
