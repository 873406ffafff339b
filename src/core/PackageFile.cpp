#include "core/PackageFile.h"

#include <cstdint>
#include <cstring>

#include "core/Errors.h"

namespace qv {

namespace {

constexpr std::size_t kHeaderSize = 12;
constexpr std::size_t kEntryHeaderSize = 6;

std::uint32_t GetLe(std::string_view bytes, std::size_t at, int width)
{
    std::uint32_t value = 0;
    for (int i = width - 1; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

void PutLe(std::string& out, std::uint32_t value, int width)
{
    for (int i = 0; i < width; ++i)
        out += static_cast<char>(value >> (8 * i));
}

[[noreturn]] void Invalid(const std::string& why)
{
    throw Error("Invalid package file: " + why);
}

}  // namespace

bool IsPackageFile(std::string_view bytes)
{
    return bytes.size() >= sizeof kPackageSignature &&
           std::memcmp(bytes.data(), kPackageSignature, sizeof kPackageSignature) == 0;
}

std::vector<PackageEntry> ParsePackageFile(std::string_view bytes)
{
    if (!IsPackageFile(bytes))
        Invalid("no package signature");
    if (bytes.size() < kHeaderSize)
        Invalid("header cut short");
    std::uint32_t count = GetLe(bytes, 8, 4);
    // Each entry takes at least 7 bytes: a count beyond that is a lie, and
    // is refused before anything is reserved for it.
    if (count > (bytes.size() - kHeaderSize) / (kEntryHeaderSize + 1))
        Invalid("entry count larger than the file");

    std::vector<PackageEntry> entries;
    entries.reserve(count);
    std::size_t at = kHeaderSize;
    for (std::uint32_t i = 0; i < count; ++i) {
        if (bytes.size() - at < kEntryHeaderSize)
            Invalid("entry " + std::to_string(i + 1) + " cut short");
        std::size_t nameLength = GetLe(bytes, at, 2);
        std::size_t storedLength = GetLe(bytes, at + 2, 4);
        at += kEntryHeaderSize;
        if (nameLength == 0 || nameLength > kMaxPackagedNameLength)
            Invalid("entry " + std::to_string(i + 1) + " has a bad name length");
        if (bytes.size() - at < nameLength || bytes.size() - at - nameLength < storedLength)
            Invalid("entry " + std::to_string(i + 1) + " runs past the end");
        std::string name(bytes.substr(at, nameLength));
        if (name.find('\0') != std::string::npos)
            Invalid("entry " + std::to_string(i + 1) + " has a NUL in its name");
        at += nameLength;
        entries.push_back({std::move(name), bytes.substr(at, storedLength)});
        at += storedLength;
    }
    if (at != bytes.size())
        Invalid("bytes after the last entry");
    return entries;
}

std::string WritePackageFile(const std::vector<PackageEntry>& entries)
{
    std::size_t total = kHeaderSize;
    for (const auto& e : entries) {
        if (e.name.empty() || e.name.size() > kMaxPackagedNameLength)
            throw Error("Packaged name too long or empty: " + e.name);
        if (e.stored.size() > UINT32_MAX)
            throw Error("Stored form too large: " + e.name);
        total += kEntryHeaderSize + e.name.size() + e.stored.size();
    }
    std::string out;
    out.reserve(total);
    out.append(kPackageSignature, sizeof kPackageSignature);
    PutLe(out, static_cast<std::uint32_t>(entries.size()), 4);
    for (const auto& e : entries) {
        PutLe(out, static_cast<std::uint32_t>(e.name.size()), 2);
        PutLe(out, static_cast<std::uint32_t>(e.stored.size()), 4);
        out += e.name;
        out += e.stored;
    }
    return out;
}

}  // namespace qv
