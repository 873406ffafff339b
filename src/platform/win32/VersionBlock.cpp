#include "platform/win32/VersionBlock.h"

#include <cstdio>
#include <cstring>

namespace qv::win32 {

VersionBlock::VersionBlock(const std::string& path)
{
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    if (size == 0)
        return;
    data_.assign(size, '\0');
    if (!GetFileVersionInfoA(path.c_str(), 0, size, data_.data()))
        data_.clear();
}

const void* VersionBlock::Query(const char* subBlock, UINT& length) const
{
    length = 0;
    if (data_.empty())
        return nullptr;
    void* value = nullptr;
    // VerQueryValueA takes a non-const block but does not change it.
    if (!VerQueryValueA(const_cast<char*>(data_.data()), subBlock, &value, &length) || !value)
        return nullptr;
    return value;
}

std::string VersionBlock::Translation() const
{
    UINT length = 0;
    const auto* words = static_cast<const WORD*>(Query("\\VarFileInfo\\Translation", length));
    if (!words || length < 2 * sizeof(WORD))
        return std::string();
    char text[16];
    std::snprintf(text, sizeof text, "%04X%04X", words[0], words[1]);
    return text;
}

std::string VersionBlock::String(const std::string& translation, const char* name) const
{
    if (translation.empty())
        return std::string();
    std::string sub = "\\StringFileInfo\\" + translation + "\\" + name;
    UINT length = 0;
    const auto* text = static_cast<const char*>(Query(sub.c_str(), length));
    if (!text || length == 0)
        return std::string();
    return std::string(text, strnlen(text, length));
}

bool VersionBlock::Fixed(VS_FIXEDFILEINFO& info) const
{
    UINT length = 0;
    const void* fixed = Query("\\", length);
    if (!fixed || length < sizeof info)
        return false;
    std::memcpy(&info, fixed, sizeof info);
    return true;
}

}  // namespace qv::win32
