#include "database/ClientLibrary.h"

#include <windows.h>

#include "platform/win32/SystemLibrary.h"
#include "platform/win32/Win32Handles.h"

namespace qv::fb {
namespace {

void* Lookup(HMODULE module, const char* name)
{
    return reinterpret_cast<void*>(::GetProcAddress(module, name));
}

// The names a Firebird client goes by on Windows, in order of preference.
constexpr const char* kClientNames[] = {"gds32.dll", "fbclient.dll"};

}  // namespace

std::unique_ptr<ClientLibrary> OpenLibrary(const std::string& name)
{
    // From the system folder only, never the program's or the current one.
    win32::UniqueModule module = win32::LoadSystemLibrary(name);
    if (!module)
        return nullptr;
    return std::make_unique<OwnedLibrary<win32::ModuleTraits, Lookup>>(std::move(module), name);
}

std::vector<std::string> ClientLibraryNames()
{
    // The client whose version the connection module checks is the first
    // of the names present in the system folder, and that file alone may
    // be loaded: no other client can slip in behind one that fails to load.
    for (const char* name : kClientNames)
        if (::GetFileAttributesA(win32::SystemLibraryPath(name).c_str()) != INVALID_FILE_ATTRIBUTES)
            return {name};
    return {std::begin(kClientNames), std::end(kClientNames)};
}

}  // namespace qv::fb
