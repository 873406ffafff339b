#include "core/PeImage.h"

#include "core/Errors.h"

namespace qv {

void InvalidExecutable(const std::string& why)
{
    throw Error("Invalid executable: " + why);
}

std::string_view PeBytes::View(std::uint64_t at, std::uint64_t count) const
{
    if (!Has(at, count))
        InvalidExecutable("structure past the end of the file");
    return data_.substr(static_cast<std::size_t>(at), static_cast<std::size_t>(count));
}

std::uint32_t PeBytes::Read(std::uint64_t at, int width) const
{
    if (!Has(at, width))
        InvalidExecutable("structure past the end of the file");
    std::uint32_t value = 0;
    for (int i = width - 1; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(data_[at + i]);
    return value;
}

PeImage::PeImage(std::string_view image) : bytes_(image)
{
    if (bytes_.View(0, 2) != "MZ")
        InvalidExecutable("no MZ signature");
    std::uint32_t pe = bytes_.U32(0x3C);
    if (bytes_.View(pe, 4) != std::string_view("PE\0\0", 4))
        InvalidExecutable("no PE signature");
    fileHeader = pe + 4ull;
    std::uint32_t sectionCount = bytes_.U16(fileHeader + pe::kSectionCount);
    if (sectionCount > 96)
        InvalidExecutable("more than 96 sections");
    symbolTable = bytes_.U32(fileHeader + pe::kSymbolTable);
    optionalSize = bytes_.U16(fileHeader + 16);
    optionalHeader = fileHeader + 20;
    std::uint32_t magic = bytes_.U16(optionalHeader);
    if (magic != 0x10B && magic != 0x20B)
        InvalidExecutable("unknown optional header");
    is64_ = magic == 0x20B;
    std::uint64_t counted = optionalHeader + (is64_ ? 108 : 92);
    if (counted + 4 > optionalHeader + optionalSize)
        InvalidExecutable("optional header too short");
    sectionAlignment = bytes_.U32(optionalHeader + 32);
    fileAlignment = bytes_.U32(optionalHeader + 36);
    sizeOfHeaders = bytes_.U32(optionalHeader + 60);
    directoryCount = bytes_.U32(counted);
    directories = counted + 4;
    // Only the directories that fit in the optional header count.
    std::uint64_t room = (optionalHeader + optionalSize - directories) / 8;
    if (directoryCount > room)
        directoryCount = static_cast<std::uint32_t>(room);

    sectionTable = optionalHeader + optionalSize;
    for (std::uint32_t i = 0; i < sectionCount; ++i) {
        std::uint64_t s = sectionTable + kSectionHeaderSize * i;
        std::string_view name = bytes_.View(s, 8);
        PeSection section;
        section.name = std::string(name.substr(0, name.find('\0')));
        section.virtualSize = bytes_.U32(s + 8);
        section.virtualAddress = bytes_.U32(s + 12);
        section.rawSize = bytes_.U32(s + 16);
        section.rawOffset = bytes_.U32(s + 20);
        section.characteristics = bytes_.U32(s + 36);
        if (section.rawSize != 0 && !bytes_.Has(section.rawOffset, section.rawSize))
            InvalidExecutable("section " + section.name + " runs past the end of the file");
        sections_.push_back(section);
    }
}

PeDirectory PeImage::Directory(int index) const
{
    if (static_cast<std::uint32_t>(index) >= directoryCount)
        return {};
    return {bytes_.U32(directories + 8ull * index), bytes_.U32(directories + 8ull * index + 4)};
}

std::string_view PeImage::AtRva(std::uint32_t rva, std::uint32_t size) const
{
    for (const PeSection& s : sections_) {
        if (rva < s.virtualAddress || rva - s.virtualAddress >= s.Extent())
            continue;
        std::uint64_t into = rva - s.virtualAddress;
        if (into + size > s.rawSize)
            InvalidExecutable("resource data outside its section");
        return bytes_.View(static_cast<std::uint64_t>(s.rawOffset) + into, size);
    }
    InvalidExecutable("address outside every section");
}

}  // namespace qv
