#pragma once
// The rule by which a packaged file takes the place of an installed one:
// version first, then time, never size; the user is asked before an older
// or an identical file is installed. Every copy writes its two report lines.
#include <optional>
#include <string>

#include "core/Errors.h"
#include "core/UpdateStatus.h"
#include "engine/InstallationReport.h"
#include "platform/FileSystem.h"
#include "platform/MessageLoop.h"
#include "platform/UserInteraction.h"

namespace qv {

// Which of two files the version-then-date rule finds newer.
enum class Newer { Packaged, Installed, Same };

// What the rule looks at of one file, as the file system reads it.
struct FileStamp {
    bool present = false;                     // a file (not a folder) is there
    std::optional<FileVersionParts> version;  // its version resource's file version
    std::optional<FileTime> writeTime;        // its last-write time
};

// The version-then-date rule. A missing installed file: the packaged one is
// newer. When both files have a version, the versions alone decide (major,
// minor, release, build, in that order); otherwise the last-write times do,
// and when one cannot be read the packaged file counts as newer. Sizes and
// contents are never looked at.
Newer CompareVersionsThenTimes(const FileStamp& installed, const FileStamp& packaged);

// The rule on two files; raises "File not found : " + packaged when the
// packaged file is missing.
Newer CompareFiles(FileSystem& files, const std::string& installed, const std::string& packaged);

// A copy that failed. The message is the one the user sees ("Source: ...
// Target: ... Error: ..."); Reason() is its last part alone: why the system
// refused the copy.
class CopyFailure : public Error {
public:
    CopyFailure(std::string message, std::string reason)
        : Error(std::move(message)), reason_(std::move(reason)) {}
    const std::string& Reason() const noexcept { return reason_; }

private:
    std::string reason_;
};

// Whether CompareAndReplace copies the packaged file when it may, or only
// compares (and asks) and leaves the copy to its caller.
enum class ReplaceMode { Replace, CompareOnly };

class FileReplacement {
public:
    FileReplacement(FileSystem& files, UserInteraction& user, MessageLoop& messages,
                    InstallationReport& report)
        : files_(files), user_(user), messages_(messages), report_(report) {}

    // packaged: the temporary copy written from the package; installed: the
    // full path of the installed file, which must exist ("Fichier pas
    // trouvé : %s" otherwise). Returns Ok (replaced, or the user agreed to
    // go on), Not (the user kept the installed file) or Ko (the copy
    // failed; only its two report lines tell). With CompareOnly nothing is
    // copied. A same-version Yes returns Ok without copying.
    UpdateStatus CompareAndReplace(const std::string& packaged, const std::string& installed,
                                   ReplaceMode mode);

    // Writes the two copy lines, lets the window repaint, then copies over
    // target (attributes cleared before and after; the source's time kept).
    // Raises a CopyFailure ("Source: ... Target: ... Error: ...") on failure.
    void CopyFileWithReport(const std::string& source, const std::string& target);

private:
    FileSystem& files_;
    UserInteraction& user_;
    MessageLoop& messages_;
    InstallationReport& report_;
};

}  // namespace qv
