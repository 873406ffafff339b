#pragma once
// Finding an installation the registry does not (or no longer) knows:
// a product folder at the root of the fixed and network drives, or a
// program file pointed out by the user. Nothing here writes to the report.
#include <string>

#include "platform/FileSystem.h"
#include "platform/UserInteraction.h"

namespace qv {

class InstallationLocator {
public:
    InstallationLocator(FileSystem& files, UserInteraction& user) : files_(files), user_(user) {}

    // The full path of the folder (no trailing backslash). Found on exactly
    // one drive root: returned without a question. Otherwise the user is
    // told and chooses, until the chosen place holds the folder; the empty
    // string when the user cancels.
    std::string LocateDirectory(const std::string& name);

    // Tells the user the program file is missing and lets them choose one;
    // the empty string when cancelled.
    std::string AskProgramLocation(const std::string& expectedPath);

private:
    FileSystem& files_;
    UserInteraction& user_;
};

}  // namespace qv
