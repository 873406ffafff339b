#pragma once
// Writes the resources of a Windows executable (PE32 or PE32+) from its
// bytes: the package tool makes an update program from the stub without a
// resource compiler or a linker. PeImage.h maps the headers it reads and
// updates, PeResources.h the resource tree it writes.
//
// The resource section it writes (offsets from the section's start):
//
//   offset  size    what
//   ------  ------  ----------------------------------------------------
//   0       16+8×t  root table: one entry per type
//   …       16+8×k  one table per type (its names), then one per name (its
//                   languages): breadth first, so that each table follows
//                   the tables of the level above. In every table the
//                   named entries come first, ordered by name with the
//                   letters compared as upper case (Windows finds names
//                   and ids by binary search), then the id entries in
//                   ascending order; Characteristics, TimeDateStamp and
//                   version stay 0
//   …       16×r    one data entry per resource, in tree order: RVA of the
//                   bytes, size, code page, 0
//   …       2+2×L   the name strings (types first, then names), each its
//                   length in UTF-16 units and the units
//   …       …       the bytes of every resource in tree order, each at an
//                   offset that is a multiple of 8, as the linkers place them
//
// Every offset is computed before anything is written; a tree that would
// not fit in 31-bit offsets is refused.
//
// How the section enters the image:
//   - when the image's resources fill a section ".rsrc" that is its last
//     one, in memory and in the file, that section is rewritten;
//   - otherwise a new section ".rsrc" (initialized, read-only data) is
//     added after the last one; the old section stays where it is, since
//     code refers to the sections around it. Its header needs 40 bytes of
//     room between the section table and the first section's data;
//   - whatever follows the sections' data in the file (the COFF symbol
//     table and its string table, which holds the long section names)
//     moves behind the new data, and the symbol table offset with it;
//   - the section count, size of initialized data, size of image, the
//     resource directory entry and the checksum are brought up to date.
// A signed image is refused: its signature would no longer hold.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/PeResources.h"

namespace qv {

// The image with exactly resources as its resources (the bytes they point
// to may lie in image). Raises qv::Error, and changes nothing, when the
// image is inconsistent or cannot take them, or when two resources share a
// type, a name (without regard to case) and a language.
std::string ReplaceResources(std::string_view image, const std::vector<Resource>& resources);

// The image checksum the optional header holds: the file summed as 16-bit
// little-endian words, each carry folded back into the low 16 bits, the
// checksum field counted as 0, plus the file length.
std::uint32_t PeCheckSum(std::string_view image);

}  // namespace qv
