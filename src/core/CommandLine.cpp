#include "core/CommandLine.h"

#include <vector>

#include "core/Text.h"

namespace qv {

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

struct Argument {
    std::string text;      // quotes removed
    std::string written;   // as it stands on the line
    bool openQuote = false;  // the line ended inside its quotes
};

// Words split at blanks outside quotes; the quotes themselves removed.
std::vector<Argument> SplitArguments(std::string_view line)
{
    std::vector<Argument> words;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && IsBlank(line[i]))
            ++i;
        if (i == line.size())
            break;
        Argument word;
        const std::size_t start = i;
        bool quoted = false;
        for (; i < line.size() && (quoted || !IsBlank(line[i])); ++i) {
            if (line[i] == '"')
                quoted = !quoted;
            else
                word.text += line[i];
        }
        word.written = std::string(line.substr(start, i - start));
        word.openQuote = quoted;
        words.push_back(word);
    }
    return words;
}

// Case-insensitive search for the switch after a slash or a dash.
bool AsksSuppression(std::string_view line)
{
    const std::string upper = UpperAscii(line);
    constexpr std::string_view kName = "SUPPRESSMSGBOXES";
    for (std::size_t at = upper.find(kName); at != std::string::npos; at = upper.find(kName, at + 1))
        if (at > 0 && (upper[at - 1] == '/' || upper[at - 1] == '-'))
            return true;
    return false;
}

// A character of the command line that Windows-1252 lacks, as
// ParseCommandLine expects it.
constexpr char kNoCp1252Form = '\0';

std::string WithMarksShown(std::string text)
{
    for (char& c : text)
        if (c == kNoCp1252Form)
            c = '?';
    return text;
}

}  // namespace

LaunchOptions ParseCommandLine(std::string_view arguments)
{
    LaunchOptions options;
    options.suppressionAsked = AsksSuppression(arguments);
    bool silent = false, verySilent = false, logGiven = false;
    for (const Argument& argument : SplitArguments(arguments)) {
        const std::string& word = argument.text;
        const std::string upper = UpperAscii(word);
        if (argument.openQuote || word.find(kNoCp1252Form) != std::string::npos) {
            // What follows an open quote cannot be told apart from the
            // value it was meant to end; it is not read at all.
            if (options.badArgument.empty())
                options.badArgument = WithMarksShown(argument.written);
            if (argument.openQuote)
                break;
        } else if (upper == "/?") {
            options.showHelp = true;
        } else if (upper == "/SILENT") {
            silent = true;
        } else if (upper == "/VERYSILENT") {
            verySilent = true;
        } else if (upper == "/SUPPRESSMSGBOXES") {
            options.suppressMessageBoxes = true;
        } else if (upper == "/REPLACESAME") {
            options.replaceSame = true;
        } else if (upper.rfind("/LOG=", 0) == 0 && word.size() > 5 && !logGiven) {
            options.logPath = word.substr(5);
            logGiven = true;
        } else if (options.badArgument.empty()) {
            // An unknown switch, a bare word, /LOG without a name, or a
            // second /LOG: the first one found is named.
            options.badArgument = word;
        }
    }
    if (verySilent)
        options.mode = RunMode::VerySilent;
    else if (silent)
        options.mode = RunMode::Silent;
    return options;
}

LaunchOptions ParseWideCommandLine(std::u16string_view commandLine)
{
    // The program's name, as the C run-time splits it off: up to the first
    // blank outside quotes.
    std::size_t i = 0;
    bool quoted = false;
    for (; i < commandLine.size() && (quoted || commandLine[i] > u' '); ++i)
        if (commandLine[i] == u'"')
            quoted = !quoted;
    // One byte per UTF-16 unit; a unit without a Windows-1252 form (a
    // surrogate half included) is marked for the parser.
    std::string arguments;
    for (; i < commandLine.size(); ++i) {
        const char16_t unit[1] = {commandLine[i]};
        const std::string byte = Utf16ToCp1252(std::u16string_view(unit, 1));
        const bool kept = byte.size() == 1 && Cp1252ToUtf16(byte) == std::u16string_view(unit, 1);
        arguments += kept ? byte[0] : kNoCp1252Form;
    }
    return ParseCommandLine(arguments);
}

}  // namespace qv
