#include "database/ClientLibrary.h"

#include <windows.h>

#include "core/UniqueHandle.h"

namespace qv::fb {
namespace {

struct ModuleTraits {
    using Handle = HMODULE;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::FreeLibrary(h); }
};

class Win32Library : public ClientLibrary {
public:
    Win32Library(UniqueHandle<ModuleTraits> module, std::string name)
        : module_(std::move(module)), name_(std::move(name)) {}
    void* Symbol(const char* name) const override
    {
        return reinterpret_cast<void*>(::GetProcAddress(module_.get(), name));
    }
    const std::string& FileName() const override { return name_; }

private:
    UniqueHandle<ModuleTraits> module_;
    std::string name_;
};

}  // namespace

std::unique_ptr<ClientLibrary> OpenFirstLibrary(const std::vector<std::string>& names)
{
    for (const auto& name : names) {
        // No "cannot find" box from the system when a library is missing.
        UINT oldMode = ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
        UniqueHandle<ModuleTraits> module(::LoadLibraryA(name.c_str()));
        ::SetErrorMode(oldMode);
        if (module)
            return std::make_unique<Win32Library>(std::move(module), name);
    }
    return nullptr;
}

std::vector<std::string> ClientLibraryNames()
{
    return {"gds32.dll", "fbclient.dll"};
}

}  // namespace qv::fb
