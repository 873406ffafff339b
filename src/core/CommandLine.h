#pragma once
// The program's switches, for unattended roll-outs by deployment tools:
//   /SILENT            no wizard pages; a small progress window shows the
//                      report and closes itself at the end
//   /VERYSILENT        no window at all (wins over /SILENT)
//   /SUPPRESSMSGBOXES  with either: no box waits for an answer
//   /REPLACESAME       with /SUPPRESSMSGBOXES: an identical installed file
//                      is replaced again instead of kept
//   /LOG="file"        the report as a UTF-8 text file, in every mode
//   /?                 the list of switches, and nothing else
// Switch names are case-insensitive. Quotes group a value that holds
// blanks and are removed; backslashes are taken as they stand, so a folder
// path may end with one. A quote left open is a bad command line.
#include <string>
#include <string_view>

namespace qv {

enum class RunMode { Wizard, Silent, VerySilent };

struct LaunchOptions {
    RunMode mode = RunMode::Wizard;
    bool suppressMessageBoxes = false;  // only in a silent mode
    bool replaceSame = false;           // only with suppressMessageBoxes
    std::string logPath;                // empty: no log file
    bool showHelp = false;              // /? anywhere on the line
    // Not empty when the line is not understood: the offending word (or
    // the message for a missing log name). The other fields are then as
    // far as the line was read.
    std::string badArgument;
    // SUPPRESSMSGBOXES appears somewhere on the line, after a slash or a
    // dash, alone or glued to another switch, even on a line that is not
    // understood: whoever wrote it expects no box.
    bool suppressionAsked = false;

    bool Windowless() const { return mode == RunMode::VerySilent; }
    // A box would wait for nobody: the answer policy takes its place.
    bool AnswersByPolicy() const { return mode != RunMode::Wizard && suppressMessageBoxes; }
};

// Reads the arguments (the command line without the program's own name),
// in Windows-1252. A NUL byte stands for a character that has no
// Windows-1252 form: the word holding it is a bad argument, named with '?'
// in its place. Outputs are in the result; never raises.
LaunchOptions ParseCommandLine(std::string_view arguments);

// The same from the whole command line as Windows keeps it in UTF-16, the
// program's own name first (quoted, or up to the first blank).
LaunchOptions ParseWideCommandLine(std::u16string_view commandLine);

}  // namespace qv
