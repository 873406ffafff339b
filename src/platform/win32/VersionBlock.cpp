#include "platform/win32/VersionBlock.h"

#include <cstdio>
#include <cstring>

#include "platform/win32/SystemLibrary.h"

namespace qv::win32 {
namespace {

// version.dll is no library Windows keeps for every program: imported, it
// would be looked for beside the program first. It is loaded from the
// system folder when a version is first read, and stays loaded.
struct VersionFunctions {
    decltype(&::GetFileVersionInfoSizeA) infoSize = nullptr;
    decltype(&::GetFileVersionInfoA) info = nullptr;
    decltype(&::VerQueryValueA) query = nullptr;
    decltype(&::VerLanguageNameA) languageName = nullptr;
};

template <typename Fn>
void Bind(HMODULE module, Fn& fn, const char* name)
{
    fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

// Null when version.dll or one of its functions is missing: no file then
// has a version.
const VersionFunctions* VersionApi()
{
    static const UniqueModule module = LoadSystemLibrary("version.dll");
    static const VersionFunctions functions = [] {
        VersionFunctions f;
        if (module) {
            Bind(module.get(), f.infoSize, "GetFileVersionInfoSizeA");
            Bind(module.get(), f.info, "GetFileVersionInfoA");
            Bind(module.get(), f.query, "VerQueryValueA");
            Bind(module.get(), f.languageName, "VerLanguageNameA");
        }
        return f;
    }();
    return functions.infoSize && functions.info && functions.query && functions.languageName
               ? &functions
               : nullptr;
}

}  // namespace

VersionBlock::VersionBlock(const std::string& path)
{
    const VersionFunctions* api = VersionApi();
    if (!api)
        return;
    DWORD ignored = 0;
    DWORD size = api->infoSize(path.c_str(), &ignored);
    if (size == 0)
        return;
    data_.assign(size, '\0');
    if (!api->info(path.c_str(), 0, size, data_.data()))
        data_.clear();
}

const void* VersionBlock::Query(const char* subBlock, UINT& length) const
{
    length = 0;
    if (data_.empty())
        return nullptr;
    void* value = nullptr;
    // VerQueryValueA takes a non-const block but does not change it.
    if (!VersionApi()->query(const_cast<char*>(data_.data()), subBlock, &value, &length) || !value)
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

std::string VersionLanguageName(unsigned languageId)
{
    const VersionFunctions* api = VersionApi();
    if (!api)
        return std::string();
    char language[80] = {};
    DWORD n = api->languageName(languageId, language, sizeof language);
    return std::string(language, n < sizeof language ? n : 0);
}

}  // namespace qv::win32
