#include "database/ClientLibrary.h"

#include <dlfcn.h>

#include "database/FirebirdApi.h"

namespace qv::fb {
namespace {

struct SharedObjectTraits {
    using Handle = void*;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::dlclose(h); }
};

void* Lookup(void* module, const char* name)
{
    return ::dlsym(module, name);
}

}  // namespace

std::unique_ptr<ClientLibrary> OpenLibrary(const std::string& name)
{
    UniqueHandle<SharedObjectTraits> module(::dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL));
    if (!module)
        return nullptr;
    return std::make_unique<OwnedLibrary<SharedObjectTraits, Lookup>>(std::move(module), name);
}

std::vector<std::string> ClientLibraryNames()
{
    return {"libfbclient.so.2", "libfbclient.so"};
}

std::string ClientLibraryVersion()
{
    // The client reports its own.
    try {
        const FirebirdApi& api = Client();
        if (!api.get_client_version)
            return "?";
        char buffer[256] = {};
        api.get_client_version(buffer);
        return buffer;
    } catch (...) {
        return "?";
    }
}

}  // namespace qv::fb
