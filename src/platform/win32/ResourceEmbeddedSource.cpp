#include "platform/win32/ResourceEmbeddedSource.h"

#include <windows.h>

#include "platform/win32/Win32Error.h"

namespace qv::win32 {

std::optional<std::string_view> ResourceEmbeddedSource::Find(const std::string& resourceName)
{
    HMODULE module = static_cast<HMODULE>(module_);
    // A name FindResourceA would read as a number ("#12") is no packaged name.
    if (resourceName.empty() || resourceName[0] == '#')
        return std::nullopt;
    HRSRC resource = FindResourceA(module, resourceName.c_str(), MAKEINTRESOURCEA(10) /* RT_RCDATA */);
    if (!resource)
        return std::nullopt;
    DWORD size = SizeofResource(module, resource);
    if (size == 0)
        RaiseLastSystemError();
    HGLOBAL loaded = LoadResource(module, resource);
    if (!loaded)
        RaiseLastSystemError();
    // Resource memory belongs to the module: it is neither unlocked nor freed.
    const void* bytes = LockResource(loaded);
    if (!bytes)
        RaiseLastSystemError();
    return std::string_view(static_cast<const char*>(bytes), size);
}

namespace {

BOOL CALLBACK CollectName(HMODULE, LPCSTR, LPSTR name, LONG_PTR names)
{
    if (!IS_INTRESOURCE(name))
        reinterpret_cast<std::vector<std::string>*>(names)->emplace_back(name);
    return TRUE;
}

}  // namespace

std::vector<std::string> ResourceEmbeddedSource::Names()
{
    std::vector<std::string> names;
    EnumResourceNamesA(static_cast<HMODULE>(module_), MAKEINTRESOURCEA(10), CollectName,
                       reinterpret_cast<LONG_PTR>(&names));
    return names;
}

}  // namespace qv::win32
