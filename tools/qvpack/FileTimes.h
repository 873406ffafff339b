#pragma once
// Last-write times of real files as Windows FILETIMEs, to the 100 ns the
// format keeps (std::filesystem is coarser on some runtimes).
#include <cstdint>
#include <filesystem>

namespace qv::qvpack {

std::uint64_t ReadWriteTime(const std::filesystem::path& path);
void SetWriteTime(const std::filesystem::path& path, std::uint64_t fileTime);

// FILETIME of 1970-01-01 00:00 UTC.
inline constexpr std::uint64_t kUnixEpochFileTime = 116444736000000000ull;

}  // namespace qv::qvpack
