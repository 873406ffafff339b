#pragma once
// The package file: the stored forms of a package in one plain file, for the
// package tool and the portable tests. The program itself carries the same
// stored forms as resources of its executable.
//
//   offset  size  field
//   ------  ----  ---------------------------------------------------------
//        0     8  signature "QVPACK1" followed by a NUL byte
//        8     4  entry count C, unsigned 32-bit little-endian
//       12     …  C entries, one after the other:
//                   +0  2  name length L (1 to 1024), little-endian
//                   +2  4  stored length S, unsigned 32-bit little-endian
//                   +6  L  packaged name: Windows-1252, ASCII letters upper
//                          case, backslash separators, no NUL
//                 +6+L  S  the stored form of the file (see StoredForm.h)
//
// Nothing may follow the last entry. Every length is checked against the
// bytes that are really there before it is used.
#include <string>
#include <string_view>
#include <vector>

namespace qv {

inline constexpr char kPackageSignature[8] = {'Q', 'V', 'P', 'A', 'C', 'K', '1', '\0'};
inline constexpr std::size_t kMaxPackagedNameLength = 1024;

struct PackageEntry {
    std::string name;         // as packaged (upper case)
    std::string_view stored;  // points into the bytes it was read from
};

// True when bytes open with the package signature.
bool IsPackageFile(std::string_view bytes);

// Reads the directory of a package file. The views point into bytes, which
// must outlive them. Raises qv::Error ("Invalid package file: ...") on any
// inconsistency; names are returned as stored, duplicates included.
std::vector<PackageEntry> ParsePackageFile(std::string_view bytes);

// Writes entries in the order given.
std::string WritePackageFile(const std::vector<PackageEntry>& entries);

}  // namespace qv
