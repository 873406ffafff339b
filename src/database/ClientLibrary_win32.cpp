#include "database/ClientLibrary.h"

#include <windows.h>

#include "platform/win32/Win32Handles.h"

namespace qv::fb {
namespace {

class Win32Library : public ClientLibrary {
public:
    Win32Library(win32::UniqueModule module, std::string name)
        : module_(std::move(module)), name_(std::move(name)) {}
    void* Symbol(const char* name) const override
    {
        return reinterpret_cast<void*>(::GetProcAddress(module_.get(), name));
    }
    const std::string& FileName() const override { return name_; }

private:
    win32::UniqueModule module_;
    std::string name_;
};

}  // namespace

std::unique_ptr<ClientLibrary> OpenLibrary(const std::string& name)
{
    // No "cannot find" box from the system when the library is missing.
    UINT oldMode = ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    win32::UniqueModule module(::LoadLibraryA(name.c_str()));
    ::SetErrorMode(oldMode);
    if (!module)
        return nullptr;
    return std::make_unique<Win32Library>(std::move(module), name);
}

std::vector<std::string> ClientLibraryNames()
{
    return {"gds32.dll", "fbclient.dll"};
}

}  // namespace qv::fb
