#include "tools/qvpack/PackagedNames.h"

namespace qv::qvpack {

std::string UnsafeNameReason(std::string_view name)
{
    if (name.empty())
        return "the name is empty";
    if (name[0] == '\\' || name[0] == '/')
        return "the name is absolute";
    if (name.find(':') != std::string_view::npos)
        return "the name carries a drive";
    for (unsigned char c : name)
        if (c < 0x20 || std::string_view("<>\"|?*").find(static_cast<char>(c)) != std::string_view::npos)
            return "the name holds a character Windows does not allow in file names";
    std::size_t start = 0;
    while (start <= name.size()) {
        std::size_t end = name.find_first_of("\\/", start);
        if (end == std::string_view::npos)
            end = name.size();
        std::string_view part = name.substr(start, end - start);
        if (part == "..")
            return "the name climbs out of its folder with \"..\"";
        if (part.empty() || part == ".")
            return "the name has an empty or \".\" component";
        start = end + 1;
    }
    return {};
}

}  // namespace qv::qvpack
