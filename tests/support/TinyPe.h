#pragma once
// A small Windows executable image made in memory, laid out as the MinGW
// linker lays out the wizard: a code section, a relocation section after
// it, and a COFF symbol table with its string table behind the sections'
// data. No resources: the resource writer adds them.
#include <cstdint>
#include <string>

namespace qv::test {

struct TinyPeLayout {
    static constexpr std::uint32_t kHeaders = 0x200, kFileAlignment = 0x200;
    static constexpr std::uint32_t kCode = kHeaders, kRelocations = kHeaders + 0x200;
    static constexpr std::uint32_t kSymbols = kHeaders + 0x400;
    static constexpr char kCodeBytes[] = "tiny code section";
    // 2 symbols of 18 bytes, then the string table (its size, then the names).
    static constexpr std::size_t kSymbolsSize = 2 * 18 + 4 + 16;
};

class TinyPe {
public:
    // fillHeaders adds sections without data until the headers have no room
    // for another section header.
    static std::string Make(bool pe32plus, bool fillHeaders = false)
    {
        using L = TinyPeLayout;
        std::string image(L::kSymbols + L::kSymbolsSize, '\0');
        TinyPe w(image);
        image[0] = 'M';
        image[1] = 'Z';
        const std::uint32_t pe = 0x40;
        w.Put(0x3C, pe, 4);
        image.replace(pe, 4, std::string("PE\0\0", 4));
        const std::uint32_t file = pe + 4, optional = file + 20;
        const std::uint32_t optionalSize = pe32plus ? 240 : 224;
        const std::uint32_t table = optional + optionalSize;
        std::uint32_t sections = 2;
        if (fillHeaders)
            while (table + 40 * (sections + 1) <= L::kHeaders)
                ++sections;
        w.Put(file, pe32plus ? 0x8664 : 0x14C, 2);
        w.Put(file + 2, sections, 2);
        w.Put(file + 8, L::kSymbols, 4);
        w.Put(file + 12, 2, 4);
        w.Put(file + 16, optionalSize, 2);
        w.Put(file + 18, pe32plus ? 0x0022 : 0x0102, 2);

        w.Put(optional, pe32plus ? 0x20B : 0x10B, 2);
        w.Put(optional + 4, 0x200, 4);   // size of code
        w.Put(optional + 8, 0x200, 4);   // size of initialized data
        w.Put(optional + 16, 0x1000, 4); // entry point
        w.Put(optional + 20, 0x1000, 4); // base of code
        if (pe32plus) {
            w.Put(optional + 24, 0x40000000, 4);
            w.Put(optional + 28, 1, 4);  // image base 0x140000000
        } else {
            w.Put(optional + 28, 0x400000, 4);
        }
        w.Put(optional + 32, 0x1000, 4);
        w.Put(optional + 36, L::kFileAlignment, 4);
        w.Put(optional + 40, 4, 2);
        w.Put(optional + 48, 5, 2);
        w.Put(optional + 50, 2, 2);
        w.Put(optional + 56, 0x1000 * (1 + sections), 4);  // size of image
        w.Put(optional + 60, L::kHeaders, 4);
        w.Put(optional + 68, 2, 2);  // GUI
        w.Put(optional + (pe32plus ? 108 : 92), 16, 4);
        const std::uint32_t directories = optional + (pe32plus ? 112 : 96);
        w.Put(directories + 5 * 8, 0x2000, 4);  // base relocations
        w.Put(directories + 5 * 8 + 4, 12, 4);

        w.Section(table, ".text", 0x1000, sizeof L::kCodeBytes, L::kCode, 0x60000020);
        w.Section(table + 40, ".reloc", 0x2000, 12, L::kRelocations, 0x42000040);
        for (std::uint32_t i = 2; i < sections; ++i)
            w.Section(table + 40 * i, ".bss", 0x1000 * (i + 1), 0x10, 0, 0xC0000080);
        image.replace(L::kCode, sizeof L::kCodeBytes, L::kCodeBytes, sizeof L::kCodeBytes);
        w.Put(L::kRelocations, 0x1000, 4);  // one block, one padding entry
        w.Put(L::kRelocations + 4, 12, 4);
        for (std::size_t i = 0; i < L::kSymbolsSize; ++i)
            image[L::kSymbols + i] = static_cast<char>('a' + i % 26);
        return image;
    }

private:
    explicit TinyPe(std::string& image) : image_(image) {}

    std::string& image_;

    void Put(std::uint32_t at, std::uint64_t value, int width)
    {
        for (int i = 0; i < width; ++i)
            image_[at + i] = static_cast<char>(value >> (8 * i));
    }

    void Section(std::uint32_t at, const char* name, std::uint32_t rva, std::uint32_t size,
                 std::uint32_t raw, std::uint32_t characteristics)
    {
        image_.replace(at, std::char_traits<char>::length(name), name);
        Put(at + 8, size, 4);
        Put(at + 12, rva, 4);
        Put(at + 16, raw ? TinyPeLayout::kFileAlignment : 0, 4);
        Put(at + 20, raw, 4);
        Put(at + 36, characteristics, 4);
    }
};

}  // namespace qv::test
