#include "core/CommandLine.h"

#include <vector>

#include "core/Text.h"

namespace qv {

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Words split at blanks outside quotes; the quotes themselves removed.
std::vector<std::string> SplitArguments(std::string_view line)
{
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && IsBlank(line[i]))
            ++i;
        if (i == line.size())
            break;
        std::string word;
        bool quoted = false;
        for (; i < line.size() && (quoted || !IsBlank(line[i])); ++i) {
            if (line[i] == '"')
                quoted = !quoted;
            else
                word += line[i];
        }
        words.push_back(word);
    }
    return words;
}

}  // namespace

LaunchOptions ParseCommandLine(std::string_view arguments)
{
    LaunchOptions options;
    bool silent = false, verySilent = false, logGiven = false;
    for (const std::string& word : SplitArguments(arguments)) {
        const std::string upper = UpperAscii(word);
        if (upper == "/?") {
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

}  // namespace qv
