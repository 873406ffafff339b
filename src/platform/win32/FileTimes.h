#pragma once
// Exact last-write times (FILETIME, 100 ns) of files named by ANSI paths,
// for the package tool; the runtime's own file clock keeps only seconds.
#include <cstdint>
#include <string>

namespace qv::win32 {

// Raises the last system error when the file cannot be opened.
std::uint64_t ReadFileWriteTime(const std::string& path);
void WriteFileWriteTime(const std::string& path, std::uint64_t fileTime);

}  // namespace qv::win32
