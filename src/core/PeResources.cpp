#include "core/PeResources.h"

#include <cstdint>
#include <string>

#include "core/Errors.h"

namespace qv {

namespace {

constexpr std::uint32_t kRcDataType = 10;
constexpr std::uint32_t kHighBit = 0x80000000u;

[[noreturn]] void Invalid(const std::string& why)
{
    throw Error("Invalid executable: " + why);
}

// Bounds-checked little-endian reads from one block of bytes.
class Bytes {
public:
    explicit Bytes(std::string_view data) : data_(data) {}
    std::size_t size() const { return data_.size(); }

    bool Has(std::uint64_t at, std::uint64_t count) const
    {
        return at <= data_.size() && count <= data_.size() - at;
    }
    std::uint32_t U16(std::uint64_t at) const { return Read(at, 2); }
    std::uint32_t U32(std::uint64_t at) const { return Read(at, 4); }
    std::string_view View(std::uint64_t at, std::uint64_t count) const
    {
        if (!Has(at, count))
            Invalid("structure past the end of the file");
        return data_.substr(static_cast<std::size_t>(at), static_cast<std::size_t>(count));
    }

private:
    std::uint32_t Read(std::uint64_t at, int width) const
    {
        if (!Has(at, width))
            Invalid("structure past the end of the file");
        std::uint32_t value = 0;
        for (int i = width - 1; i >= 0; --i)
            value = (value << 8) | static_cast<unsigned char>(data_[at + i]);
        return value;
    }
    std::string_view data_;
};

struct Section {
    std::uint32_t virtualAddress, virtualSize, rawOffset, rawSize;
};

class Image {
public:
    explicit Image(std::string_view bytes) : bytes_(bytes) {}

    void ReadHeaders()
    {
        std::uint32_t pe = bytes_.U32(0x3C);
        if (bytes_.View(pe, 4) != std::string_view("PE\0\0", 4))
            Invalid("no PE signature");
        std::uint32_t sectionCount = bytes_.U16(pe + 6);
        std::uint32_t optionalSize = bytes_.U16(pe + 20);
        std::uint64_t optional = pe + 24;
        std::uint32_t magic = bytes_.U16(optional);
        std::uint64_t directories;
        if (magic == 0x10B)
            directories = optional + 96;
        else if (magic == 0x20B)
            directories = optional + 112;
        else
            Invalid("unknown optional header");
        std::uint32_t directoryCount = bytes_.U32(directories - 4);
        if (directoryCount > 2 && directories + 3 * 8 <= optional + optionalSize) {
            resourceRva_ = bytes_.U32(directories + 2 * 8);
            resourceSize_ = bytes_.U32(directories + 2 * 8 + 4);
        }
        std::uint64_t table = optional + optionalSize;
        for (std::uint32_t i = 0; i < sectionCount; ++i) {
            std::uint64_t s = table + 40ull * i;
            sections_.push_back(
                {bytes_.U32(s + 12), bytes_.U32(s + 8), bytes_.U32(s + 20), bytes_.U32(s + 16)});
        }
    }

    bool HasResources() const { return resourceRva_ != 0 && resourceSize_ != 0; }

    // File bytes of [rva, rva + size), which must lie in one section's raw data.
    std::string_view AtRva(std::uint32_t rva, std::uint32_t size) const
    {
        for (const Section& s : sections_) {
            std::uint64_t extent = std::max(s.virtualSize, s.rawSize);
            if (rva < s.virtualAddress || rva - s.virtualAddress >= extent)
                continue;
            std::uint64_t into = rva - s.virtualAddress;
            if (into + size > s.rawSize)
                Invalid("resource data outside its section");
            return bytes_.View(static_cast<std::uint64_t>(s.rawOffset) + into, size);
        }
        Invalid("address outside every section");
    }

    std::uint32_t resourceRva_ = 0, resourceSize_ = 0;

private:
    Bytes bytes_;
    std::vector<Section> sections_;
};

struct DirectoryEntry {
    std::uint32_t name;    // id, or offset of a name string with the high bit
    std::uint32_t offset;  // data entry, or subdirectory with the high bit
};

std::vector<DirectoryEntry> ReadDirectory(const Bytes& tree, std::uint32_t at)
{
    std::uint32_t count = tree.U16(at + 12) + tree.U16(at + 14);
    if (!tree.Has(at + 16, 8ull * count))
        Invalid("resource directory past its end");
    std::vector<DirectoryEntry> entries;
    for (std::uint32_t i = 0; i < count; ++i)
        entries.push_back({tree.U32(at + 16 + 8 * i), tree.U32(at + 20 + 8 * i)});
    return entries;
}

std::string ReadName(const Bytes& tree, std::uint32_t at)
{
    std::uint32_t length = tree.U16(at);
    std::string name;
    name.reserve(length);
    for (std::uint32_t i = 0; i < length; ++i) {
        std::uint32_t c = tree.U16(at + 2 + 2 * i);
        name += c < 0x100 ? static_cast<char>(c) : '?';
    }
    return name;
}

std::uint32_t Subdirectory(const DirectoryEntry& e)
{
    if (!(e.offset & kHighBit))
        Invalid("resource leaf where a directory belongs");
    return e.offset & ~kHighBit;
}

}  // namespace

bool IsExecutableImage(std::string_view bytes)
{
    return bytes.size() >= 2 && bytes[0] == 'M' && bytes[1] == 'Z';
}

std::vector<PackageEntry> ReadRcDataResources(std::string_view bytes)
{
    if (!IsExecutableImage(bytes))
        Invalid("no MZ signature");
    Image image(bytes);
    image.ReadHeaders();
    std::vector<PackageEntry> entries;
    if (!image.HasResources())
        return entries;
    Bytes tree(image.AtRva(image.resourceRva_, image.resourceSize_));

    // Fixed depth (type, name, language): offsets cannot make it loop.
    for (const DirectoryEntry& type : ReadDirectory(tree, 0)) {
        if (type.name != kRcDataType)
            continue;
        for (const DirectoryEntry& named : ReadDirectory(tree, Subdirectory(type))) {
            if (!(named.name & kHighBit))
                continue;  // numbered resources are no packaged files
            auto languages = ReadDirectory(tree, Subdirectory(named));
            if (languages.empty())
                continue;
            if (languages.front().offset & kHighBit)
                Invalid("resource directory where data belongs");
            std::uint32_t leaf = languages.front().offset;
            std::string_view data = image.AtRva(tree.U32(leaf), tree.U32(leaf + 4));
            entries.push_back({ReadName(tree, named.name & ~kHighBit), data});
        }
    }
    return entries;
}

}  // namespace qv
