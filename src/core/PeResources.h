#pragma once
// Reads the named RT_RCDATA resources of a Windows executable from its bytes,
// without loading it: the package tool lists, checks and extracts the
// package of a built quorvex-update.exe on any system.
//
// What is read (all little-endian; every offset checked against the file):
//
//   0x3C                 4  offset of the "PE\0\0" signature
//   PE + 4              20  file header: +2 section count, +16 size of the
//                           optional header
//   PE + 24              …  optional header: +0 magic (0x10B PE32, 0x20B
//                           PE32+); directory count at +92 (PE32) or +108
//                           (PE32+), the directories (RVA, size) right
//                           after it, the resources as the third
//   after it          40×n  section headers: +8 virtual size, +12 virtual
//                           address, +16 raw size, +20 raw data offset
//   resource tree           three levels of directories (type, name,
//                           language): 16-byte header (+12 named count,
//                           +14 id count) then 8-byte entries (name or id,
//                           offset; the high bit marks a name string or a
//                           subdirectory); a leaf is a 16-byte data entry
//                           (+0 RVA, +4 size)
//
// Only type 10 (RT_RCDATA) entries with string names are returned, with the
// first language of each name. Names are given as Windows-1252 text.
#include <string_view>
#include <vector>

#include "core/PackageFile.h"

namespace qv {

// True when bytes open like a Windows executable ("MZ").
bool IsExecutableImage(std::string_view bytes);

// The named RT_RCDATA resources of the image. The views point into image.
// Raises qv::Error ("Invalid executable: ...") when the structures are
// inconsistent; an image without resources gives an empty list.
std::vector<PackageEntry> ReadRcDataResources(std::string_view image);

}  // namespace qv
