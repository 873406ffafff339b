#include "tools/qvpack/FileTimes.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "core/Errors.h"

namespace qv::qvpack {

std::uint64_t ReadWriteTime(const std::filesystem::path& path)
{
    struct stat st {};
    if (stat(path.c_str(), &st) != 0)
        throw Error("Cannot read the time of " + path.string() + ": " + std::strerror(errno));
    // Times before 1970 do not occur in packages; clamp rather than wrap.
    if (st.st_mtim.tv_sec < 0)
        return kUnixEpochFileTime;
    return kUnixEpochFileTime + static_cast<std::uint64_t>(st.st_mtim.tv_sec) * 10000000u +
           static_cast<std::uint64_t>(st.st_mtim.tv_nsec) / 100u;
}

void SetWriteTime(const std::filesystem::path& path, std::uint64_t fileTime)
{
    struct timespec times[2];
    times[0].tv_sec = 0;
    times[0].tv_nsec = UTIME_OMIT;  // access time stays
    if (fileTime < kUnixEpochFileTime) {
        times[1].tv_sec = 0;
        times[1].tv_nsec = 0;
    } else {
        std::uint64_t since = fileTime - kUnixEpochFileTime;
        times[1].tv_sec = static_cast<time_t>(since / 10000000u);
        times[1].tv_nsec = static_cast<long>(since % 10000000u) * 100;
    }
    if (utimensat(AT_FDCWD, path.c_str(), times, 0) != 0)
        throw Error("Cannot set the time of " + path.string() + ": " + std::strerror(errno));
}

}  // namespace qv::qvpack
