#pragma once
// The headers of a Windows executable (PE32 or PE32+), read from its bytes
// without loading it, for the resource reader and writer of the package
// tool.
//
// What is read (all little-endian; every offset is checked against the
// bytes before it is used):
//
//   offset        size  field
//   ------------  ----  -------------------------------------------------
//   0x00             2  "MZ"
//   0x3C             4  file offset P of the PE signature
//   P                4  "PE\0\0"
//   F = P + 4       20  file header:
//                         +2   section count n (at most 96)
//                         +8   file offset of the COFF symbol table, 0 when
//                              there is none (its string table follows it
//                              and holds the long section names)
//                         +16  size of the optional header
//   O = F + 20       …  optional header:
//                         +0   magic: 0x10B PE32, 0x20B PE32+
//                         +8   size of initialized data
//                         +32  section alignment
//                         +36  file alignment
//                         +56  size of image
//                         +60  size of headers
//                         +64  checksum
//                         +92  (PE32) or +108 (PE32+): directory count
//                         +96  (PE32) or +112 (PE32+): the directories,
//                              8 bytes each (RVA, size); index 2 the
//                              resources, index 4 the certificates (whose
//                              "RVA" is a file offset)
//   S = O + size    40×n  section headers:
//                         +0   name, 8 bytes, NUL-padded
//                         +8   virtual size
//                         +12  virtual address (RVA)
//                         +16  size of raw data
//                         +20  file offset of raw data
//                         +36  characteristics
//
// A section's raw data must lie inside the file; a section occupies
// [RVA, RVA + max(virtual size, raw size)) of the image.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

// Bounds-checked little-endian reads from one block of bytes. A read past
// the end raises qv::Error ("Invalid executable: ...").
class PeBytes {
public:
    explicit PeBytes(std::string_view data) : data_(data) {}
    std::size_t size() const { return data_.size(); }
    bool Has(std::uint64_t at, std::uint64_t count) const
    {
        return at <= data_.size() && count <= data_.size() - at;
    }
    std::uint32_t U16(std::uint64_t at) const { return Read(at, 2); }
    std::uint32_t U32(std::uint64_t at) const { return Read(at, 4); }
    std::string_view View(std::uint64_t at, std::uint64_t count) const;

private:
    std::uint32_t Read(std::uint64_t at, int width) const;
    std::string_view data_;
};

[[noreturn]] void InvalidExecutable(const std::string& why);

struct PeSection {
    std::string name;  // the 8 header bytes without their NUL padding
    std::uint32_t virtualSize = 0, virtualAddress = 0, rawSize = 0, rawOffset = 0;
    std::uint32_t characteristics = 0;
    std::uint32_t Extent() const { return virtualSize > rawSize ? virtualSize : rawSize; }
};

struct PeDirectory {
    std::uint32_t rva = 0, size = 0;
};

// Where the fields above lie in one image, and the section table.
class PeImage {
public:
    static constexpr int kResourceDirectory = 2;
    static constexpr int kCertificateDirectory = 4;
    static constexpr std::uint32_t kSectionHeaderSize = 40;

    // Reads the headers; raises qv::Error ("Invalid executable: ...") when
    // they are missing or inconsistent.
    explicit PeImage(std::string_view bytes);

    const PeBytes& Bytes() const { return bytes_; }
    bool Is64() const { return is64_; }
    const std::vector<PeSection>& Sections() const { return sections_; }

    // The directory, or an empty one when the header has no such entry.
    PeDirectory Directory(int index) const;
    // File bytes of [rva, rva + size), which must lie in one section's raw data.
    std::string_view AtRva(std::uint32_t rva, std::uint32_t size) const;

    std::uint64_t fileHeader = 0, optionalHeader = 0, sectionTable = 0;
    std::uint32_t optionalSize = 0, directoryCount = 0;
    std::uint64_t directories = 0;  // file offset of directory 0
    std::uint32_t sectionAlignment = 0, fileAlignment = 0, sizeOfHeaders = 0;
    std::uint32_t symbolTable = 0;

private:
    PeBytes bytes_;
    bool is64_ = false;
    std::vector<PeSection> sections_;
};

// Field offsets in the file and optional headers (see the map above).
namespace pe {
inline constexpr std::uint32_t kSectionCount = 2, kSymbolTable = 8;
inline constexpr std::uint32_t kInitializedDataSize = 8, kImageSize = 56, kCheckSum = 64;
}  // namespace pe

}  // namespace qv
