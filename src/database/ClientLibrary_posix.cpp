#include "database/ClientLibrary.h"

#include <dlfcn.h>

#include "core/UniqueHandle.h"

namespace qv::fb {
namespace {

struct SharedObjectTraits {
    using Handle = void*;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::dlclose(h); }
};

class PosixLibrary : public ClientLibrary {
public:
    PosixLibrary(UniqueHandle<SharedObjectTraits> module, std::string name)
        : module_(std::move(module)), name_(std::move(name)) {}
    void* Symbol(const char* name) const override { return ::dlsym(module_.get(), name); }
    const std::string& FileName() const override { return name_; }

private:
    UniqueHandle<SharedObjectTraits> module_;
    std::string name_;
};

}  // namespace

std::unique_ptr<ClientLibrary> OpenLibrary(const std::string& name)
{
    UniqueHandle<SharedObjectTraits> module(::dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL));
    if (!module)
        return nullptr;
    return std::make_unique<PosixLibrary>(std::move(module), name);
}

std::vector<std::string> ClientLibraryNames()
{
    return {"libfbclient.so.2", "libfbclient.so"};
}

}  // namespace qv::fb
