#include "core/PackagedNames.h"

#include "core/Text.h"

namespace qv {

namespace {

// Windows opens a device, not a file, for these base names, whatever the
// extension after them and wherever they stand in a path; blanks before the
// extension are dropped first ("nul .txt" is NUL too). Besides the digits,
// COM and LPT take the superscripts one to three (0xB9, 0xB2, 0xB3).
bool IsDeviceName(std::string_view component)
{
    std::string_view base = component.substr(0, component.find('.'));
    while (!base.empty() && base.back() == ' ')
        base.remove_suffix(1);
    const std::string upper = UpperAscii(base);
    for (const char* device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"})
        if (upper == device)
            return true;
    if (upper.size() == 4 && (upper.compare(0, 3, "COM") == 0 || upper.compare(0, 3, "LPT") == 0)) {
        const unsigned char last = static_cast<unsigned char>(upper[3]);
        return (last >= '0' && last <= '9') || last == 0xB9 || last == 0xB2 || last == 0xB3;
    }
    return false;
}

}  // namespace

std::string StoredNameOf(std::string_view packagedName)
{
    std::string stored(packagedName);
    for (char& c : stored) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if ((byte >= 'a' && byte <= 'z') || (byte >= 0xE0 && byte <= 0xFE && byte != 0xF7))
            c = static_cast<char>(byte - 0x20);  // the division sign has no capital
        else if (byte == 0x9A || byte == 0x9C || byte == 0x9E)
            c = static_cast<char>(byte - 0x10);  // s caron, oe, z caron
        else if (byte == 0xFF)
            c = static_cast<char>(0x9F);  // y diaeresis
    }
    return stored;
}

PackagedNameFault CheckPackagedName(std::string_view name)
{
    if (name.empty())
        return PackagedNameFault::Empty;
    if (name[0] == '\\' || name[0] == '/')
        return PackagedNameFault::Absolute;
    if (name.find(':') != std::string_view::npos)
        return PackagedNameFault::Drive;
    for (unsigned char c : name)
        if (c < 0x20 || std::string_view("<>\"|?*").find(static_cast<char>(c)) != std::string_view::npos)
            return PackagedNameFault::ForbiddenCharacter;
    std::size_t start = 0;
    while (start <= name.size()) {
        std::size_t end = name.find_first_of("\\/", start);
        if (end == std::string_view::npos)
            end = name.size();
        const std::string_view part = name.substr(start, end - start);
        if (part == "..")
            return PackagedNameFault::ClimbsOut;
        if (part.empty() || part == ".")
            return PackagedNameFault::EmptyComponent;
        if (IsDeviceName(part))
            return PackagedNameFault::DeviceName;
        if (part.back() == '.' || part.back() == ' ')
            return PackagedNameFault::TrailingDotOrBlank;
        start = end + 1;
    }
    return PackagedNameFault::None;
}

}  // namespace qv
