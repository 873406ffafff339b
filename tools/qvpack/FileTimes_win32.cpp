#include "tools/qvpack/FileTimes.h"

#include <windows.h>

#include "core/Errors.h"
#include "core/Text.h"
#include "platform/win32/Win32Handles.h"

namespace qv::qvpack {

namespace {

// The wide calls: a folder's names need not fit the ANSI code page (the
// accented names of a folder written on Linux, say).
std::string Named(const std::filesystem::path& path)
{
    const std::u8string utf8 = path.u8string();
    return Utf8ToCp1252(std::string(utf8.begin(), utf8.end()));
}

}  // namespace

std::uint64_t ReadWriteTime(const std::filesystem::path& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        throw Error("Cannot read the time of " + Named(path));
    return (std::uint64_t(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
}

void SetWriteTime(const std::filesystem::path& path, std::uint64_t fileTime)
{
    win32::UniqueFile file(CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        throw Error("Cannot set the time of " + Named(path));
    FILETIME time;
    time.dwLowDateTime = static_cast<DWORD>(fileTime);
    time.dwHighDateTime = static_cast<DWORD>(fileTime >> 32);
    if (!SetFileTime(file.get(), nullptr, nullptr, &time))
        throw Error("Cannot set the time of " + Named(path));
}

}  // namespace qv::qvpack
