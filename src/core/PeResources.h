#pragma once
// Reads the resources of a Windows executable from its bytes, without
// loading it: the package tool lists, checks and extracts the package of a
// built quorvex-update.exe on any system, and copies a stub's own resources
// into the program it makes. The headers are read as PeImage.h maps them;
// the data directory's third entry gives the resource tree:
//
//   three levels of directory tables (type, name, language), each
//     +0   16  header: +12 count of named entries, +14 count of id entries
//     +16 8×k  entries: +0 name (the high bit set: offset of a name
//              string; clear: a 16-bit id), +4 offset (the high bit set: a
//              directory table of the next level; clear: a data entry)
//   name string: +0 length L in UTF-16 units, +2 the L units
//   data entry (the leaf): +0 RVA of the bytes, +4 size, +8 code page,
//              +12 reserved
//
// Offsets are relative to the start of the tree. Every table may be reached
// once only, so a crafted tree cannot make the walk loop or multiply.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/PackageFile.h"

namespace qv {

// A resource type or name: a 16-bit number, or a string.
struct ResourceId {
    std::uint16_t number = 0;
    std::u16string text;  // not empty for a string name

    bool IsText() const { return !text.empty(); }
    friend bool operator==(const ResourceId&, const ResourceId&) = default;
};

inline constexpr std::uint16_t kRcDataType = 10;

struct Resource {
    ResourceId type, name;
    std::uint16_t language = 0;
    std::uint32_t codePage = 0;
    std::string_view data;  // points into the bytes it was read from
};

// True when bytes open like a Windows executable ("MZ").
bool IsExecutableImage(std::string_view bytes);

// Every resource of the image, in the order of its tree. The views point
// into image. Raises qv::Error ("Invalid executable: ...") when the
// structures are inconsistent; an image without resources gives an empty
// list.
std::vector<Resource> ReadResources(std::string_view image);

// The RT_RCDATA (type 10) resources with string names, the first language
// of each name, their names as Windows-1252 text: the package an executable
// carries.
std::vector<PackageEntry> ReadRcDataResources(std::string_view image);

}  // namespace qv
