#include "platform/win32/FileTimes.h"

#include <windows.h>

#include "core/UniqueHandle.h"
#include "platform/win32/Win32Error.h"

namespace qv::win32 {

namespace {

struct TimeFileTraits {
    using Handle = HANDLE;
    static Handle Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Handle h) noexcept { ::CloseHandle(h); }
};
using TimeFile = UniqueHandle<TimeFileTraits>;

TimeFile Open(const std::string& path, DWORD access)
{
    TimeFile file(CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file)
        RaiseLastSystemError();
    return file;
}

}  // namespace

std::uint64_t ReadFileWriteTime(const std::string& path)
{
    TimeFile file = Open(path, GENERIC_READ);
    FILETIME time;
    if (!GetFileTime(file.get(), nullptr, nullptr, &time))
        RaiseLastSystemError();
    return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

void WriteFileWriteTime(const std::string& path, std::uint64_t fileTime)
{
    TimeFile file = Open(path, FILE_WRITE_ATTRIBUTES);
    FILETIME time{static_cast<DWORD>(fileTime), static_cast<DWORD>(fileTime >> 32)};
    if (!SetFileTime(file.get(), nullptr, nullptr, &time))
        RaiseLastSystemError();
}

}  // namespace qv::win32
