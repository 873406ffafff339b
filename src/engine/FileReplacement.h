#pragma once
// The rule by which a packaged file takes the place of an installed one:
// version first, then time, never size; the user is asked before an older
// or an identical file is installed. Every copy writes its two report lines.
#include <string>

#include "core/UpdateStatus.h"
#include "engine/InstallationReport.h"
#include "platform/FileSystem.h"
#include "platform/MessageLoop.h"
#include "platform/UserInteraction.h"

namespace qv {

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
    // Raises "Source: ... Target: ... Error: ..." on failure.
    void CopyFileWithReport(const std::string& source, const std::string& target);

private:
    FileSystem& files_;
    UserInteraction& user_;
    MessageLoop& messages_;
    InstallationReport& report_;
};

}  // namespace qv
