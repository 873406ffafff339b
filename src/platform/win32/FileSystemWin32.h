#pragma once
// The file-system interface on the real Windows API, through the installer
// helper and the Windows helpers.
#include <windows.h>

#include "core/Errors.h"
#include "platform/FileSystem.h"
#include "platform/win32/InstallerFileServices.h"

namespace qv::win32 {

class FileSystemWin32 final : public FileSystem {
public:
    // The installer helper answers folders, existence and versions; it
    // must outlive this object.
    explicit FileSystemWin32(InstallerFileServices& installer) : installer_(installer) {}

    std::string TempFolder() override;
    std::string WindowsFolder() override;
    bool FileIsPresent(const std::string& path) override;
    bool FolderIsPresent(const std::string& path) override;
    bool PathIsPresent(const std::string& path) override;
    std::string ReadWholeFile(const std::string& path) override;
    void WriteNewFileInPieces(const std::string& path,
                              const std::function<void(PieceWriter&)>& fill) override;
    bool CreateNewFile(const std::string& path) override;
    bool SetFileWriteTime(const std::string& path, FileTime time) override;
    void RemoveFile(const std::string& path) override;
    bool GetFileWriteTime(const std::string& path, FileTime& time) override;
    bool SetNormalAttributes(const std::string& path) override;
    bool CopyFileOver(const std::string& source, const std::string& target) override;
    std::string LastFailureMessage() override { return lastFailure_; }
    bool GetFileVersionParts(const std::string& path, FileVersionParts& parts) override;
    std::string SharedSystemFolder() override { return installer_.SharedSystemFolder(); }
    bool ForceDirectories(const std::string& path) override;
    std::string DriveLetters() override;
    DriveKind DriveKindOf(const std::string& root) override;

private:
    bool Failed();  // notes the last error's message for LastFailureMessage; false

    InstallerFileServices& installer_;
    std::string lastFailure_ = SystemErrorMessage(0, {});
};

}  // namespace qv::win32
