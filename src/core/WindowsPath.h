#pragma once
// Windows path strings, handled as text: backslash separators, a folder to be
// extended ends with a backslash. Nothing here touches the file system.
#include <string>
#include <string_view>

namespace qv {

// Parent folder with a trailing backslash: C:\A\B and C:\A\B\ give C:\A\,
// C:\A gives C:\, a root stays itself; without a backslash past the first
// character the result is the first three characters.
std::string ParentFolder(std::string_view path);

// The path with a trailing backslash; the empty path stays empty.
std::string AddBackslash(std::string_view path);

// The path without its trailing backslash, except for a drive root (a
// backslash right after a colon stays).
std::string WithoutBackslash(std::string_view path);

// The last component of a path (after the last backslash, slash or colon).
std::string ExtractFileName(std::string_view path);

// The folder part of a path: everything up to and including the last
// backslash, slash or colon; empty when it has none.
std::string ExtractFilePath(std::string_view path);

}  // namespace qv
