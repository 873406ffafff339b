#pragma once
// One owner type per kind of Windows handle. Each traits type knows its
// invalid value and its close function; UniqueHandle does the rest.
#include <windows.h>
#include <shlobj.h>

#include "core/UniqueHandle.h"

namespace qv::win32 {

struct RegistryKeyTraits {
    using Handle = HKEY;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::RegCloseKey(h); }
};
using UniqueRegistryKey = UniqueHandle<RegistryKeyTraits>;

// Files from CreateFile: invalid is INVALID_HANDLE_VALUE, not null.
struct FileHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Handle h) noexcept { ::CloseHandle(h); }
};
using UniqueFile = UniqueHandle<FileHandleTraits>;

// Semaphores, events, threads, processes: invalid is null.
struct KernelHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::CloseHandle(h); }
};
using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;

struct FindHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Handle h) noexcept { ::FindClose(h); }
};
using UniqueFind = UniqueHandle<FindHandleTraits>;

struct ModuleTraits {
    using Handle = HMODULE;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::FreeLibrary(h); }
};
using UniqueModule = UniqueHandle<ModuleTraits>;

// Memory from GlobalAlloc (the common dialogs' device settings).
struct GlobalMemoryTraits {
    using Handle = HGLOBAL;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::GlobalFree(h); }
};
using UniqueGlobalMemory = UniqueHandle<GlobalMemoryTraits>;

struct WindowTraits {
    using Handle = HWND;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::DestroyWindow(h); }
};
using UniqueWindow = UniqueHandle<WindowTraits>;

// Shell item identifier lists are allocated by the shell with the COM task
// allocator.
struct ItemIdListTraits {
    using Handle = PIDLIST_ABSOLUTE;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::CoTaskMemFree(h); }
};
using UniqueItemIdList = UniqueHandle<ItemIdListTraits>;

}  // namespace qv::win32
