#include "platform/win32/SystemLibrary.h"

#include <windows.h>

#include "core/WindowsPath.h"
#include "platform/win32/InstallerFileServices.h"

namespace qv::win32 {

std::string SystemLibraryPath(const std::string& name)
{
    std::string folder = SystemFolder();
    return folder.empty() ? std::string() : AddBackslash(folder) + name;
}

UniqueModule LoadSystemLibrary(const std::string& name)
{
    const std::string path = SystemLibraryPath(name);
    if (path.empty())
        return UniqueModule();
    UINT oldMode = ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    // The full path picks the file; the flag keeps its dependencies to the
    // system folder as well.
    HMODULE module = ::LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!module && ::GetLastError() == ERROR_INVALID_PARAMETER)
        // A system without the search flags: dependencies are then looked
        // for beside the library first, that is in the system folder.
        module = ::LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    DWORD error = ::GetLastError();
    ::SetErrorMode(oldMode);
    ::SetLastError(error);
    return UniqueModule(module);
}

void SecureProcessStart()
{
    ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    // Looked up: Windows 7 has it only with its update KB2533623.
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    HMODULE kernel = ::GetModuleHandleA("kernel32.dll");
    const auto setDefaultDllDirectories = kernel
        ? reinterpret_cast<SetDefaultDllDirectoriesFn>(
              reinterpret_cast<void*>(::GetProcAddress(kernel, "SetDefaultDllDirectories")))
        : nullptr;
    if (!setDefaultDllDirectories || !setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32))
        // Older systems: at least the current folder leaves the search.
        ::SetDllDirectoryW(L"");
}

}  // namespace qv::win32
