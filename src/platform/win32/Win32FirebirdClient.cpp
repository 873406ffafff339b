// The Firebird client on Windows: loaded from the system folder only, and
// its version read from that file's version resource without loading it,
// so that a workstation without Firebird never loads a client.
#include <windows.h>

#include "database/ClientLibrary.h"
#include "platform/win32/SystemInfo.h"
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

std::string ClientLibraryVersion()
{
    // The very file the client is later loaded from; "?" when there is no
    // such file or it has no version.
    const std::string path = win32::SystemLibraryPath(ClientLibraryNames().front());
    if (path.empty() || ::GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES)
        return "?";
    return win32::FileVersionText(path);
}

}  // namespace qv::fb
