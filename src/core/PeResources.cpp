#include "core/PeResources.h"

#include <set>

#include "core/PeImage.h"
#include "core/Text.h"

namespace qv {

namespace {

constexpr std::uint32_t kHighBit = 0x80000000u;

struct DirectoryEntry {
    std::uint32_t name;    // id, or offset of a name string with the high bit
    std::uint32_t offset;  // data entry, or subdirectory with the high bit
};

class TreeReader {
public:
    TreeReader(const PeImage& image, std::string_view tree) : image_(image), tree_(tree) {}

    // The entries of the table at offset; each table is read once only.
    std::vector<DirectoryEntry> Table(std::uint32_t at)
    {
        if (!visited_.insert(at).second)
            InvalidExecutable("resource directory reached twice");
        std::uint32_t count = tree_.U16(at + 12ull) + tree_.U16(at + 14ull);
        if (!tree_.Has(at + 16ull, 8ull * count))
            InvalidExecutable("resource directory past its end");
        std::vector<DirectoryEntry> entries;
        entries.reserve(count);
        for (std::uint32_t i = 0; i < count; ++i)
            entries.push_back({tree_.U32(at + 16ull + 8 * i), tree_.U32(at + 20ull + 8 * i)});
        return entries;
    }

    std::uint32_t Subdirectory(const DirectoryEntry& e) const
    {
        if (!(e.offset & kHighBit))
            InvalidExecutable("resource leaf where a directory belongs");
        return e.offset & ~kHighBit;
    }

    ResourceId Id(std::uint32_t name) const
    {
        ResourceId id;
        if (!(name & kHighBit)) {
            id.number = static_cast<std::uint16_t>(name);
            return id;
        }
        std::uint64_t at = name & ~kHighBit;
        std::uint32_t length = tree_.U16(at);
        if (length == 0)
            InvalidExecutable("empty resource name");
        tree_.View(at + 2, 2ull * length);  // checks the whole string at once
        id.text.reserve(length);
        for (std::uint32_t i = 0; i < length; ++i)
            id.text += static_cast<char16_t>(tree_.U16(at + 2 + 2ull * i));
        return id;
    }

    void Leaf(const DirectoryEntry& e, Resource& resource) const
    {
        if (e.offset & kHighBit)
            InvalidExecutable("resource directory where data belongs");
        resource.data = image_.AtRva(tree_.U32(e.offset), tree_.U32(e.offset + 4ull));
        resource.codePage = tree_.U32(e.offset + 8ull);
    }

private:
    const PeImage& image_;
    PeBytes tree_;
    std::set<std::uint32_t> visited_;
};

}  // namespace

bool IsExecutableImage(std::string_view bytes)
{
    return bytes.size() >= 2 && bytes[0] == 'M' && bytes[1] == 'Z';
}

std::vector<Resource> ReadResources(std::string_view bytes)
{
    PeImage image(bytes);
    std::vector<Resource> resources;
    PeDirectory directory = image.Directory(PeImage::kResourceDirectory);
    if (directory.rva == 0 || directory.size == 0)
        return resources;
    TreeReader tree(image, image.AtRva(directory.rva, directory.size));

    // Fixed depth (type, name, language).
    for (const DirectoryEntry& type : tree.Table(0)) {
        ResourceId typeId = tree.Id(type.name);
        for (const DirectoryEntry& named : tree.Table(tree.Subdirectory(type))) {
            ResourceId nameId = tree.Id(named.name);
            for (const DirectoryEntry& language : tree.Table(tree.Subdirectory(named))) {
                Resource resource{typeId, nameId, static_cast<std::uint16_t>(language.name), 0, {}};
                if (language.name & kHighBit)
                    InvalidExecutable("named resource language");
                tree.Leaf(language, resource);
                resources.push_back(std::move(resource));
            }
        }
    }
    return resources;
}

std::vector<PackageEntry> ReadRcDataResources(std::string_view bytes)
{
    std::vector<PackageEntry> entries;
    std::vector<Resource> resources = ReadResources(bytes);
    const Resource* previous = nullptr;
    for (const Resource& r : resources) {
        bool firstLanguage = !previous || !(previous->type == r.type && previous->name == r.name);
        previous = &r;
        if (firstLanguage && r.type == ResourceId{kRcDataType, {}} && r.name.IsText())
            entries.push_back({Utf16ToCp1252(r.name.text), r.data});
    }
    return entries;
}

}  // namespace qv
