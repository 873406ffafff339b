#include "platform/win32/FileSystemWin32.h"

#include <windows.h>

#include <algorithm>
#include <limits>

#include "core/Errors.h"
#include "core/Format.h"
#include "core/Texts.h"
#include "core/WindowsPath.h"
#include "platform/win32/Win32Error.h"
#include "platform/win32/SystemInfo.h"
#include "platform/win32/Win32Handles.h"
#include "platform/win32/WindowsHelpers.h"

namespace qv::win32 {
namespace {

// The system's text without its trailing line break, to follow a message.
std::string Reason(DWORD code)
{
    std::string text = SystemErrorText(code);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    return text;
}

}  // namespace

bool FileSystemWin32::Failed()
{
    lastFailure_ = LastErrorMessage();
    return false;
}

std::string FileSystemWin32::TempFolder()
{
    return installer_.TempFolder();
}

std::string FileSystemWin32::WindowsFolder()
{
    return GetWindowsFolder();
}

bool FileSystemWin32::FileIsPresent(const std::string& path)
{
    return installer_.FileIsPresent(path);
}

bool FileSystemWin32::FolderIsPresent(const std::string& path)
{
    std::uint32_t attributes = installer_.PathAttributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FileSystemWin32::PathIsPresent(const std::string& path)
{
    return installer_.PathIsPresent(path);
}

std::string FileSystemWin32::ReadWholeFile(const std::string& path)
{
    return ReadFileStart(path, std::numeric_limits<std::size_t>::max());
}

void FileSystemWin32::WriteNewFileInPieces(const std::string& path,
                                           const std::function<void(PieceWriter&)>& fill)
{
    UniqueFile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        DWORD code = GetLastError();
        throw FileCreationError(Format(texts::kFileCreateFailed, {path}) + "\r\n" + Reason(code));
    }
    class Writer final : public PieceWriter {
    public:
        Writer(HANDLE file, const std::string& path) : file_(file), path_(path) {}
        void Write(std::string_view data) override
        {
            while (!data.empty()) {
                DWORD chunk = data.size() > 0x10000000 ? 0x10000000 : static_cast<DWORD>(data.size());
                DWORD written = 0;
                if (!WriteFile(file_, data.data(), chunk, &written, nullptr) || written == 0) {
                    DWORD code = GetLastError();
                    throw Error(Format(texts::kFileWriteFailed, {path_}) + "\r\n" + Reason(code));
                }
                data.remove_prefix(written);
            }
        }

    private:
        HANDLE file_;
        const std::string& path_;
    } writer(file.get(), path);
    // Any error leaves through the handle's owner, which closes the file.
    fill(writer);
}

bool FileSystemWin32::CreateNewFile(const std::string& path)
{
    // CREATE_NEW fails on any name that is there, a link to elsewhere
    // included, instead of opening it: the file is ours or nothing is done.
    UniqueFile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file)
        return true;
    DWORD code = GetLastError();
    // A folder of that name answers "access denied" rather than "exists".
    if (code == ERROR_FILE_EXISTS || code == ERROR_ALREADY_EXISTS || PathIsPresent(path))
        return false;
    throw FileCreationError(Format(texts::kFileCreateFailed, {path}) + "\r\n" + Reason(code));
}

bool FileSystemWin32::SetFileWriteTime(const std::string& path, FileTime time)
{
    return win32::SetFileWriteTime(path, time);
}

void FileSystemWin32::RemoveFile(const std::string& path)
{
    if (!::DeleteFileA(path.c_str()))
        RaiseLastSystemError();
}

bool FileSystemWin32::GetFileWriteTime(const std::string& path, FileTime& time)
{
    FILETIME written;
    if (!FileWriteTime(path, written))
        return false;
    time = ToFileTime(written);
    return true;
}

bool FileSystemWin32::GetFileVersionParts(const std::string& path, FileVersionParts& parts)
{
    return installer_.GetFileVersionParts(path, parts.major, parts.minor, parts.release, parts.build);
}

bool FileSystemWin32::SetNormalAttributes(const std::string& path)
{
    return SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL) ? true : Failed();
}

bool FileSystemWin32::CopyFileOver(const std::string& source, const std::string& target)
{
    // The copy is made whole in a new file beside the target, then renamed
    // over it: a copy that fails part-way (a full disk, a share gone) leaves
    // the installed file as it was, never cut, and its own part removed.
    // The new file is ours alone: a name already there is never written.
    constexpr int kNamesBeside = 10;
    std::string fresh;
    for (int n = 1;; ++n) {
        fresh = target + ".new" + (n == 1 ? std::string() : std::to_string(n));
        if (::CopyFileA(source.c_str(), fresh.c_str(), TRUE))
            break;
        const DWORD code = GetLastError();
        const bool taken = code == ERROR_FILE_EXISTS || code == ERROR_ALREADY_EXISTS;
        if (taken && n < kNamesBeside)
            continue;
        if (!taken)
            ::DeleteFileA(fresh.c_str());
        SetLastError(code);
        return Failed();
    }
    if (::GetFileAttributesA(target.c_str()) != INVALID_FILE_ATTRIBUTES) {
        // A file another program holds, or one that cannot be written,
        // fails as a copy straight over it would, with the same reason (a
        // rename would give another).
        UniqueFile probe(CreateFileA(target.c_str(), GENERIC_WRITE,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!probe) {
            Failed();
            ::DeleteFileA(fresh.c_str());
            return false;
        }
    }
    if (MoveFileOver(fresh, target))
        return true;
    ::DeleteFileA(fresh.c_str());  // the reason is noted already
    return false;
}

bool FileSystemWin32::ForceDirectories(const std::string& path)
{
    std::string folder = qv::WithoutBackslash(path);
    if (folder.empty()) {
        SetLastError(ERROR_INVALID_NAME);
        return Failed();
    }
    if (FolderIsPresent(folder))
        return true;
    std::size_t slash = folder.find_last_of('\\');
    if (slash != std::string::npos && slash > 0 && folder[slash - 1] != ':' &&
        !ForceDirectories(folder.substr(0, slash)))
        return false;
    if (CreateDirectoryA(folder.c_str(), nullptr))
        return true;
    // Another process may have made it meanwhile.
    return FolderIsPresent(folder) ? true : Failed();
}

std::string FileSystemWin32::DriveLetters()
{
    return GetDriveLetters();
}

DriveKind FileSystemWin32::DriveKindOf(const std::string& root)
{
    switch (GetDriveTypeA(root.c_str())) {
    case DRIVE_NO_ROOT_DIR: return DriveKind::NoRootDir;
    case DRIVE_REMOVABLE: return DriveKind::Removable;
    case DRIVE_FIXED: return DriveKind::Fixed;
    case DRIVE_REMOTE: return DriveKind::Remote;
    case DRIVE_CDROM: return DriveKind::CdRom;
    case DRIVE_RAMDISK: return DriveKind::RamDisk;
    default: return DriveKind::Unknown;
    }
}

// ---- Bounded reads and whole replacements ----------------------------------

std::string FileSystemWin32::ReadFileStart(const std::string& path, std::size_t maxBytes)
{
    UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        DWORD code = GetLastError();
        throw Error(Format(texts::kFileOpenFailed, {path}) + "\r\n" + Reason(code));
    }
    std::string data;
    char buffer[65536];
    while (data.size() < maxBytes) {
        const std::size_t wanted = std::min(sizeof buffer, maxBytes - data.size());
        DWORD read = 0;
        if (!::ReadFile(file.get(), buffer, static_cast<DWORD>(wanted), &read, nullptr)) {
            DWORD code = GetLastError();
            throw Error(Format(texts::kFileReadFailed, {path}) + "\r\n" + Reason(code));
        }
        if (read == 0)
            break;
        data.append(buffer, read);
    }
    return data;
}

bool FileSystemWin32::MoveFileOver(const std::string& source, const std::string& target)
{
    // A read-only file is not replaced, as Windows refuses it (Wine would
    // replace it).
    const DWORD attributes = GetFileAttributesA(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return Failed();
    }
    // A rename within the folder: the system swaps the names, so the target
    // never holds part of the new contents.
    return ::MoveFileExA(source.c_str(), target.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
               ? true
               : Failed();
}

}  // namespace qv::win32
