#include "core/PeResourceWriter.h"

#include <algorithm>
#include <cstring>
#include <map>

#include "core/Errors.h"
#include "core/PeImage.h"
#include "core/Text.h"

namespace qv {

namespace {

constexpr std::uint32_t kHighBit = 0x80000000u;
constexpr std::uint64_t kDataAlignment = 8;
constexpr std::uint32_t kReadOnlyData = 0x40000040u;  // initialized data, readable

std::uint64_t AlignUp(std::uint64_t value, std::uint64_t alignment)
{
    return (value + alignment - 1) / alignment * alignment;
}

// The room a resource's bytes take in the section. An empty resource still
// takes a slot, so that its address lies inside the section even when it
// comes last.
std::uint64_t SlotSize(std::size_t dataSize)
{
    return AlignUp(std::max<std::uint64_t>(dataSize, 1), kDataAlignment);
}

bool IsPowerOfTwo(std::uint32_t value)
{
    return value != 0 && (value & (value - 1)) == 0;
}

void Put16(std::string& out, std::uint64_t at, std::uint32_t value)
{
    out[at] = static_cast<char>(value);
    out[at + 1] = static_cast<char>(value >> 8);
}

void Put32(std::string& out, std::uint64_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out[at + i] = static_cast<char>(value >> (8 * i));
}

// Windows compares string names as upper case: the ASCII and Latin-1
// letters are all a package name can hold.
char16_t UpperUnit(char16_t c)
{
    if ((c >= u'a' && c <= u'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7))
        return static_cast<char16_t>(c - 0x20);
    return c == 0xFF ? char16_t(0x178) : c;
}

struct TreeOrder {
    bool operator()(const ResourceId& a, const ResourceId& b) const
    {
        if (a.IsText() != b.IsText())
            return a.IsText();  // named entries first
        if (!a.IsText())
            return a.number < b.number;
        return std::lexicographical_compare(
            a.text.begin(), a.text.end(), b.text.begin(), b.text.end(),
            [](char16_t x, char16_t y) { return UpperUnit(x) < UpperUnit(y); });
    }
};

using Languages = std::map<std::uint16_t, const Resource*>;
using Names = std::map<ResourceId, Languages, TreeOrder>;
using Types = std::map<ResourceId, Names, TreeOrder>;

std::string Describe(const ResourceId& id)
{
    return id.IsText() ? "\"" + Utf16ToCp1252(id.text) + "\"" : "#" + std::to_string(id.number);
}

Types Arrange(const std::vector<Resource>& resources)
{
    Types types;
    for (const Resource& r : resources) {
        if (r.data.size() > UINT32_MAX)
            throw Error("Resource " + Describe(r.name) + " is too large");
        if (!types[r.type][r.name].emplace(r.language, &r).second)
            throw Error("Two resources " + Describe(r.name) + " of type " + Describe(r.type) +
                        " and language " + std::to_string(r.language));
    }
    return types;
}

std::uint64_t TableSize(std::size_t entries)
{
    return 16 + 8ull * entries;
}

template <typename Map>
std::size_t NamedCount(const Map& entries)
{
    return static_cast<std::size_t>(std::count_if(entries.begin(), entries.end(),
                                                   [](const auto& e) { return e.first.IsText(); }));
}

// Lays the tree out as the header describes and writes it for a section at
// the given RVA.
class SectionWriter {
public:
    SectionWriter(const Types& types, std::uint32_t rva) : types_(types), rva_(rva)
    {
        std::uint64_t tables = TableSize(types.size()), leaves = 0, strings = 0, data = 0;
        for (const auto& [type, names] : types) {
            tables += TableSize(names.size());
            strings += StringSize(type);
            for (const auto& [name, languages] : names) {
                tables += TableSize(languages.size());
                strings += StringSize(name);
                for (const auto& [language, resource] : languages) {
                    leaves += 16;
                    data += SlotSize(resource->data.size());
                }
            }
        }
        leafAt_ = tables;
        stringAt_ = leafAt_ + leaves;
        dataAt_ = AlignUp(stringAt_ + strings, kDataAlignment);
        std::uint64_t size = dataAt_ + data;
        if (size >= kHighBit || rva + size > UINT32_MAX)
            throw Error("The resources do not fit in one executable");
        out_.assign(static_cast<std::size_t>(size), '\0');
    }

    std::string Write()
    {
        std::uint64_t next = TableSize(types_.size());
        Table(0, types_.size(), NamedCount(types_));
        std::uint64_t entry = 16;
        std::vector<std::uint64_t> nameTables;
        for (const auto& [type, names] : types_) {
            Entry(entry, Name(type), next | kHighBit);
            entry += 8;
            nameTables.push_back(next);
            next += TableSize(names.size());
        }
        auto table = nameTables.begin();
        for (const auto& [type, names] : types_) {
            Table(*table, names.size(), NamedCount(names));
            entry = *table++ + 16;
            for (const auto& [name, languages] : names) {
                Entry(entry, Name(name), next | kHighBit);
                entry += 8;
                Table(next, languages.size(), 0);
                std::uint64_t languageEntry = next + 16;
                next += TableSize(languages.size());
                for (const auto& [language, resource] : languages) {
                    Entry(languageEntry, language, Leaf(*resource));
                    languageEntry += 8;
                }
            }
        }
        return std::move(out_);
    }

private:
    static std::uint64_t StringSize(const ResourceId& id)
    {
        return id.IsText() ? 2 + 2ull * id.text.size() : 0;
    }

    void Table(std::uint64_t at, std::size_t entries, std::size_t named)
    {
        Put16(out_, at + 12, static_cast<std::uint32_t>(named));
        Put16(out_, at + 14, static_cast<std::uint32_t>(entries - named));
    }

    void Entry(std::uint64_t at, std::uint32_t name, std::uint64_t offset)
    {
        Put32(out_, at, name);
        Put32(out_, at + 4, static_cast<std::uint32_t>(offset));
    }

    // The entry's name field: the id, or the offset of the string written.
    std::uint32_t Name(const ResourceId& id)
    {
        if (!id.IsText())
            return id.number;
        if (id.text.size() > 0xFFFF)
            throw Error("Resource name too long: " + Describe(id));
        std::uint64_t at = stringAt_;
        Put16(out_, at, static_cast<std::uint32_t>(id.text.size()));
        for (std::size_t i = 0; i < id.text.size(); ++i)
            Put16(out_, at + 2 + 2 * i, id.text[i]);
        stringAt_ += StringSize(id);
        return static_cast<std::uint32_t>(at) | kHighBit;
    }

    // Writes the data entry and the bytes; returns the entry's offset.
    std::uint64_t Leaf(const Resource& resource)
    {
        std::uint64_t at = leafAt_;
        leafAt_ += 16;
        Put32(out_, at, static_cast<std::uint32_t>(rva_ + dataAt_));
        Put32(out_, at + 4, static_cast<std::uint32_t>(resource.data.size()));
        Put32(out_, at + 8, resource.codePage);
        if (!resource.data.empty())
            std::memcpy(out_.data() + dataAt_, resource.data.data(), resource.data.size());
        dataAt_ += SlotSize(resource.data.size());
        return at;
    }

    const Types& types_;
    std::uint32_t rva_;
    std::uint64_t leafAt_ = 0, stringAt_ = 0, dataAt_ = 0;
    std::string out_;
};

// Where the new resource section goes.
struct Placement {
    int replaced = -1;  // index of the section rewritten, or -1 for a new one
    std::uint32_t rva = 0;
    std::uint64_t rawAt = 0;       // file offset of its data
    std::uint64_t followsAt = 0;   // first byte after the sections' data
    std::uint64_t otherEnd = 0;    // end in memory of every other section
};

Placement Place(const PeImage& image)
{
    const auto& sections = image.Sections();
    std::uint64_t rawEnd = image.sizeOfHeaders, imageEnd = 0, firstRaw = UINT64_MAX;
    for (const PeSection& s : sections) {
        if (s.rawSize != 0) {
            rawEnd = std::max<std::uint64_t>(rawEnd, std::uint64_t(s.rawOffset) + s.rawSize);
            firstRaw = std::min<std::uint64_t>(firstRaw, s.rawOffset);
        }
        imageEnd = std::max<std::uint64_t>(imageEnd, std::uint64_t(s.virtualAddress) + s.Extent());
    }

    Placement p;
    PeDirectory old = image.Directory(PeImage::kResourceDirectory);
    for (std::size_t i = 0; i < sections.size(); ++i) {
        const PeSection& s = sections[i];
        bool last = std::uint64_t(s.virtualAddress) + s.Extent() == imageEnd &&
                    s.rawSize != 0 && std::uint64_t(s.rawOffset) + s.rawSize == rawEnd;
        if (old.size != 0 && old.rva == s.virtualAddress && s.name == ".rsrc" && last)
            p.replaced = static_cast<int>(i);
    }
    if (p.replaced >= 0) {
        const PeSection& s = sections[p.replaced];
        p.rva = s.virtualAddress;
        p.rawAt = s.rawOffset;
        p.followsAt = rawEnd;
        for (std::size_t i = 0; i < sections.size(); ++i)
            if (static_cast<int>(i) != p.replaced)
                p.otherEnd = std::max<std::uint64_t>(
                    p.otherEnd, std::uint64_t(sections[i].virtualAddress) + sections[i].Extent());
        // Rewritten in place only when no other section reaches into it, in
        // memory or in the file: its addresses would otherwise be read
        // through that section, or its new bytes would overwrite that one's.
        bool alone = p.otherEnd <= s.virtualAddress;
        for (std::size_t i = 0; i < sections.size(); ++i)
            if (static_cast<int>(i) != p.replaced && sections[i].rawSize != 0 &&
                std::uint64_t(sections[i].rawOffset) + sections[i].rawSize > s.rawOffset)
                alone = false;
        if (alone)
            return p;
        p = Placement{};
    }
    std::uint64_t tableEnd = image.sectionTable + PeImage::kSectionHeaderSize * (sections.size() + 1);
    if (sections.size() >= 96 || tableEnd > image.sizeOfHeaders || tableEnd > firstRaw)
        throw Error("The executable's headers have no room for another section");
    p.rva = static_cast<std::uint32_t>(AlignUp(imageEnd, image.sectionAlignment));
    p.rawAt = AlignUp(rawEnd, image.fileAlignment);
    p.followsAt = rawEnd;
    p.otherEnd = imageEnd;
    if (AlignUp(imageEnd, image.sectionAlignment) > UINT32_MAX)
        InvalidExecutable("image too large");
    return p;
}

std::uint32_t CheckSumOf(std::string_view bytes, std::uint64_t fieldAt)
{
    std::uint64_t sum = 0;
    for (std::uint64_t i = 0; i < bytes.size(); i += 2) {
        if (i >= fieldAt && i < fieldAt + 4)
            continue;
        std::uint32_t word = static_cast<unsigned char>(bytes[i]);
        if (i + 1 < bytes.size())
            word |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i + 1])) << 8;
        sum += word;
        sum = (sum & 0xFFFF) + (sum >> 16);
    }
    sum = (sum & 0xFFFF) + (sum >> 16);
    return static_cast<std::uint32_t>(sum + bytes.size());
}

}  // namespace

std::uint32_t PeCheckSum(std::string_view bytes)
{
    PeImage image(bytes);
    return CheckSumOf(bytes, image.optionalHeader + pe::kCheckSum);
}

std::string ReplaceResources(std::string_view bytes, const std::vector<Resource>& resources)
{
    PeImage image(bytes);
    if (image.Directory(PeImage::kCertificateDirectory).size != 0)
        throw Error("The executable is signed: make the program from an unsigned stub, then sign it");
    if (image.directoryCount <= PeImage::kResourceDirectory)
        InvalidExecutable("no resource directory entry");
    if (!IsPowerOfTwo(image.fileAlignment) || !IsPowerOfTwo(image.sectionAlignment) ||
        image.sectionAlignment < image.fileAlignment)
        InvalidExecutable("bad section or file alignment");
    // Every header written below lies before the first section's data.
    std::uint64_t tableEnd = image.sectionTable + PeImage::kSectionHeaderSize * image.Sections().size();
    if (image.sizeOfHeaders < tableEnd || image.sizeOfHeaders > bytes.size())
        InvalidExecutable("headers larger than their room");
    for (const PeSection& s : image.Sections())
        if (s.rawSize != 0 && s.rawOffset < image.sizeOfHeaders)
            InvalidExecutable("section data inside the headers");

    Placement place = Place(image);
    std::string section = SectionWriter(Arrange(resources), place.rva).Write();
    std::uint64_t rawSize = AlignUp(section.size(), image.fileAlignment);
    std::uint64_t follows = place.followsAt < bytes.size() ? bytes.size() - place.followsAt : 0;
    std::uint64_t movedTo = place.rawAt + rawSize;
    std::uint64_t imageSize = AlignUp(std::max<std::uint64_t>(place.otherEnd, place.rva + section.size()),
                                      image.sectionAlignment);
    if (movedTo + follows > UINT32_MAX || imageSize > UINT32_MAX)
        throw Error("The resources do not fit in one executable");

    std::string out;
    out.reserve(static_cast<std::size_t>(movedTo + follows));
    out.append(bytes.substr(0, std::min<std::uint64_t>(place.rawAt, bytes.size())));
    out.resize(static_cast<std::size_t>(place.rawAt), '\0');
    out += section;
    out.resize(static_cast<std::size_t>(movedTo), '\0');
    if (follows != 0)
        out.append(bytes.substr(static_cast<std::size_t>(place.followsAt)));

    std::uint64_t header;
    std::uint32_t oldRawSize = 0;
    if (place.replaced >= 0) {
        header = image.sectionTable + PeImage::kSectionHeaderSize * place.replaced;
        oldRawSize = image.Sections()[place.replaced].rawSize;
    } else {
        std::size_t count = image.Sections().size();
        header = image.sectionTable + PeImage::kSectionHeaderSize * count;
        out.replace(static_cast<std::size_t>(header), PeImage::kSectionHeaderSize,
                    PeImage::kSectionHeaderSize, '\0');
        out.replace(static_cast<std::size_t>(header), 5, ".rsrc");
        Put32(out, header + 36, kReadOnlyData);
        Put16(out, image.fileHeader + pe::kSectionCount, static_cast<std::uint32_t>(count + 1));
    }
    Put32(out, header + 8, static_cast<std::uint32_t>(section.size()));
    Put32(out, header + 12, place.rva);
    Put32(out, header + 16, static_cast<std::uint32_t>(rawSize));
    Put32(out, header + 20, static_cast<std::uint32_t>(place.rawAt));

    if (image.symbolTable != 0 && image.symbolTable >= place.followsAt)
        Put32(out, image.fileHeader + pe::kSymbolTable,
              static_cast<std::uint32_t>(image.symbolTable - place.followsAt + movedTo));
    const PeBytes& in = image.Bytes();
    std::uint64_t initialized = image.optionalHeader + pe::kInitializedDataSize;
    Put32(out, initialized, static_cast<std::uint32_t>(in.U32(initialized) + rawSize - oldRawSize));
    Put32(out, image.optionalHeader + pe::kImageSize, static_cast<std::uint32_t>(imageSize));
    std::uint64_t directory = image.directories + 8ull * PeImage::kResourceDirectory;
    Put32(out, directory, place.rva);
    Put32(out, directory + 4, static_cast<std::uint32_t>(section.size()));

    std::uint64_t checkSum = image.optionalHeader + pe::kCheckSum;
    Put32(out, checkSum, CheckSumOf(out, checkSum));
    return out;
}

}  // namespace qv
