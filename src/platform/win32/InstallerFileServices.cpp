#include "platform/win32/InstallerFileServices.h"

#include <vector>

#include "core/Errors.h"
#include "core/Text.h"
#include "core/WindowsPath.h"
#include "platform/win32/SystemInfo.h"
#include "platform/win32/VersionBlock.h"
#include "platform/win32/Win32Error.h"
#include "platform/win32/Win32Handles.h"

namespace qv::win32 {
namespace {

constexpr std::uint32_t kLastNameNumber = 33554431;  // 2^25 - 1: five base-32 digits

}  // namespace

InstallerFileServices::InstallerFileServices() : random_(std::random_device{}()) {}

std::string InstallerFileServices::TempFolder()
{
    DWORD length = GetTempPathA(0, nullptr);
    if (length == 0)
        RaiseLastSystemError();
    std::vector<char> buffer(length + 1);
    length = GetTempPathA(static_cast<DWORD>(buffer.size()), buffer.data());
    if (length == 0)
        RaiseLastSystemError();
    return AddBackslash(std::string(buffer.data(), length));
}

bool InstallerFileServices::GetFileVersionParts(const std::string& path, std::uint16_t& major,
                                                std::uint16_t& minor, std::uint16_t& release,
                                                std::uint16_t& build)
{
    std::uint32_t ms = 0, ls = 0;
    if (!FileVersionNumber(path, ms, ls))
        return false;
    major = static_cast<std::uint16_t>(ms >> 16);
    minor = static_cast<std::uint16_t>(ms & 0xFFFF);
    release = static_cast<std::uint16_t>(ls >> 16);
    build = static_cast<std::uint16_t>(ls & 0xFFFF);
    return true;
}

std::string InstallerFileServices::SharedSystemFolder()
{
    return ChooseSharedFolder(GetWindowsFolder(), SystemFolder());
}

std::string InstallerFileServices::ChooseSharedFolder(const std::string& windowsFolder,
                                                      const std::string& systemFolder)
{
    std::string result = systemFolder;
    bool inside = UpperAscii(systemFolder).rfind(UpperAscii(windowsFolder), 0) == 0;
    if (!inside) {
        // Outside the Windows folder: use it only if a file can be made there.
        bool writable = false;
        try {
            std::string probe = UniqueFileName(systemFolder, ".tmp");
            UniqueFile file(CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
            if (file) {
                file.reset();
                writable = DeleteFileA(probe.c_str()) != 0;
            }
        } catch (const Error&) {
        }
        if (!writable)
            result = windowsFolder;
    }
    return AddBackslash(result);
}

std::string InstallerFileServices::UniqueFileName(const std::string& folder,
                                                  const std::string& extension)
{
    std::string base = AddBackslash(folder);
    const std::uint32_t start =
        std::uniform_int_distribution<std::uint32_t>(0, kLastNameNumber)(random_);
    std::uint32_t n = start;
    for (;;) {
        n = n == kLastNameNumber ? 0 : n + 1;
        if (n == start)
            throw Error("Error Too many files in dir");
        std::string candidate = base + "is-" + Base32Code(n) + extension;
        if (!PathIsPresent(candidate))
            return candidate;
    }
}

bool InstallerFileServices::FileIsPresent(const std::string& path)
{
    std::uint32_t attributes = PathAttributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool InstallerFileServices::PathIsPresent(const std::string& path)
{
    return PathAttributes(path) != INVALID_FILE_ATTRIBUTES;
}

std::uint32_t InstallerFileServices::PathAttributes(const std::string& path)
{
    UINT previous = SetErrorMode(SEM_FAILCRITICALERRORS);
    DWORD attributes = GetFileAttributesA(qv::WithoutBackslash(path).c_str());
    SetErrorMode(previous);
    return attributes;
}

std::string SystemFolder()
{
    char buffer[MAX_PATH] = {};
    UINT length = GetSystemDirectoryA(buffer, MAX_PATH);
    if (length >= MAX_PATH)
        length = 0;
    return std::string(buffer, length);
}

bool FileWriteTime(const std::string& path, FILETIME& time)
{
    time = FILETIME{};
    WIN32_FIND_DATAA data;
    UniqueFind find(FindFirstFileA(path.c_str(), &data));
    if (!find || (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    time = data.ftLastWriteTime;
    return true;
}

bool FileLocalWriteTime(const std::string& path, FILETIME& time)
{
    FILETIME utc;
    if (!FileWriteTime(path, utc)) {
        time = FILETIME{};
        return false;
    }
    return FileTimeToLocalFileTime(&utc, &time) != 0;
}

bool FileFixedVersionInfo(const std::string& path, VS_FIXEDFILEINFO& info)
{
    return VersionBlock(path).Fixed(info);
}

bool FileVersionNumber(const std::string& path, std::uint32_t& mostSignificant,
                       std::uint32_t& leastSignificant)
{
    VS_FIXEDFILEINFO info;
    if (!FileFixedVersionInfo(path, info))
        return false;
    mostSignificant = info.dwFileVersionMS;
    leastSignificant = info.dwFileVersionLS;
    return true;
}

}  // namespace qv::win32
