#include "engine/InstallationLocator.h"

#include "core/Format.h"
#include "core/Texts.h"
#include "core/WindowsPath.h"

namespace qv {

std::string InstallationLocator::LocateDirectory(const std::string& name)
{
    int count = 0;
    std::string result;
    for (char letter : files_.DriveLetters()) {
        std::string root = std::string(1, letter) + ":\\";
        DriveKind kind = files_.DriveKindOf(root);
        // Removable, CD-ROM and RAM drives are never searched, nor below the root.
        if (kind != DriveKind::Fixed && kind != DriveKind::Remote)
            continue;
        if (files_.FolderIsPresent(root + name)) {
            if (++count == 1)
                result = root + name;
        }
    }
    if (count == 1)
        return result;

    for (;;) {
        std::string message =
            count > 1 ? Format(texts::kSeveralFoldersFound, {count, name})
                      : Format(texts::kFolderNotFound, {name}) + " " + texts::kPleaseShowLocation;
        user_.ShowErrorMessage(message);
        std::string chosen = user_.BrowseForFolder(texts::kSelectFolder + ("\"" + name + "\""));
        if (chosen.empty())
            return {};
        // The chosen folder's last component stands for the product folder.
        result = ParentFolder(chosen) + name;
        count = 0;
        if (files_.FolderIsPresent(result))
            return result;
    }
}

std::string InstallationLocator::AskProgramLocation(const std::string& expectedPath)
{
    user_.ShowErrorMessage(Format(texts::kProgramNotFound, {expectedPath}) + " " +
                           texts::kPleaseShowLocation);
    return user_.ChooseFile();
}

}  // namespace qv
