#include "ui/FileVersion.h"

#include <windows.h>

#include <cstdio>
#include <vector>

namespace qv::wizard {

std::string OwnFileVersion()
{
    char path[MAX_PATH] = {};
    if (!::GetModuleFileNameA(nullptr, path, MAX_PATH))
        return {};
    DWORD ignored = 0;
    DWORD size = ::GetFileVersionInfoSizeA(path, &ignored);
    if (size == 0)
        return {};
    std::vector<char> block(size);
    if (!::GetFileVersionInfoA(path, 0, size, block.data()))
        return {};
    struct Translation {
        WORD language, codePage;
    };
    Translation* tr = nullptr;
    UINT len = 0;
    if (!::VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&tr),
                          &len) ||
        len < sizeof(Translation))
        return {};
    char query[64];
    std::snprintf(query, sizeof query, "\\StringFileInfo\\%04X%04X\\FileVersion", tr->language,
                  tr->codePage);
    char* value = nullptr;
    if (!::VerQueryValueA(block.data(), query, reinterpret_cast<void**>(&value), &len) || !value)
        return {};
    return std::string(value);
}

}  // namespace qv::wizard
