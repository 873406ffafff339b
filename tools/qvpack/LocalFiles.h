#pragma once
// Whole-file reads and writes of the package tool, on the build machine's
// file system.
#include <filesystem>
#include <string>
#include <string_view>

namespace qv::qvpack {

// Raise qv::Error naming the file when it cannot be opened, read or written.
std::string ReadWholeFile(const std::filesystem::path& path);
void WriteWholeFile(const std::filesystem::path& path, std::string_view bytes);

// Writes bytes to "<target>.partial" and renames that over target at the
// end: target is either left as it was or holds all of bytes, never a part.
void WriteAtomically(const std::filesystem::path& target, std::string_view bytes);

// Whether path (which need not exist) lies inside folder.
bool IsInside(const std::filesystem::path& path, const std::filesystem::path& folder);

}  // namespace qv::qvpack
