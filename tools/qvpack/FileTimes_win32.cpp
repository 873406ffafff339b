#include "tools/qvpack/FileTimes.h"

#include "platform/win32/FileTimes.h"

namespace qv::qvpack {

std::uint64_t ReadWriteTime(const std::filesystem::path& path)
{
    return win32::ReadFileWriteTime(path.string());
}

void SetWriteTime(const std::filesystem::path& path, std::uint64_t fileTime)
{
    win32::WriteFileWriteTime(path.string(), fileTime);
}

}  // namespace qv::qvpack
