#include "database/ClientLibrary.h"

#include <windows.h>

#include "platform/win32/Win32Handles.h"

namespace qv::fb {
namespace {

void* Lookup(HMODULE module, const char* name)
{
    return reinterpret_cast<void*>(::GetProcAddress(module, name));
}

}  // namespace

std::unique_ptr<ClientLibrary> OpenLibrary(const std::string& name)
{
    // No "cannot find" box from the system when the library is missing.
    UINT oldMode = ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    win32::UniqueModule module(::LoadLibraryA(name.c_str()));
    ::SetErrorMode(oldMode);
    if (!module)
        return nullptr;
    return std::make_unique<OwnedLibrary<win32::ModuleTraits, Lookup>>(std::move(module), name);
}

std::vector<std::string> ClientLibraryNames()
{
    return {"gds32.dll", "fbclient.dll"};
}

}  // namespace qv::fb
