#include "core/WindowsPath.h"

namespace qv {

std::string ParentFolder(std::string_view path)
{
    // Scan from the last character down to the second one for a backslash
    // that is not the last character.
    for (size_t i = path.size(); i-- > 1;) {
        if (path[i] == '\\' && i != path.size() - 1)
            return std::string(path.substr(0, i + 1));
    }
    return std::string(path.substr(0, 3));
}

std::string AddBackslash(std::string_view path)
{
    std::string out(path);
    if (!out.empty() && out.back() != '\\')
        out += '\\';
    return out;
}

std::string WithoutBackslash(std::string_view path)
{
    std::string out(path);
    if (out.size() >= 1 && out.back() == '\\' && !(out.size() >= 2 && out[out.size() - 2] == ':'))
        out.pop_back();
    return out;
}

std::string ExtractFileName(std::string_view path)
{
    size_t pos = path.find_last_of("\\/:");
    return std::string(pos == std::string_view::npos ? path : path.substr(pos + 1));
}

std::string ExtractFilePath(std::string_view path)
{
    size_t pos = path.find_last_of("\\/:");
    return pos == std::string_view::npos ? std::string() : std::string(path.substr(0, pos + 1));
}

}  // namespace qv
