#include "tools/qvpack/FileTimes.h"

#include <windows.h>

#include "core/Errors.h"
#include "platform/win32/WindowsHelpers.h"
#include "platform/win32/InstallerFileServices.h"

namespace qv::qvpack {

std::uint64_t ReadWriteTime(const std::filesystem::path& path)
{
    FILETIME time;
    if (!win32::FileWriteTime(path.string(), time))
        throw Error("Cannot read the time of " + path.string());
    return win32::ToFileTime(time);
}

void SetWriteTime(const std::filesystem::path& path, std::uint64_t fileTime)
{
    if (!win32::SetFileWriteTime(path.string(), fileTime))
        throw Error("Cannot set the time of " + path.string());
}

}  // namespace qv::qvpack
