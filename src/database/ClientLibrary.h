#pragma once
// A shared library opened at run time, the names under which this
// platform's Firebird client is looked for, and the client's version. Each
// platform implements these: ClientLibrary_posix.cpp beside this file
// (dlopen), platform/win32/Win32FirebirdClient.cpp (from the system folder
// only).
#include <memory>
#include <string>
#include <vector>

#include "core/UniqueHandle.h"

namespace qv::fb {

class ClientLibrary {
public:
    virtual ~ClientLibrary() = default;
    // The address of an exported function, or nullptr.
    virtual void* Symbol(const char* name) const = 0;
    virtual const std::string& FileName() const = 0;
};

// A library held by its platform's owner of the handle; lookup finds an
// exported function in it.
template <typename Traits, void* (*lookup)(typename Traits::Handle, const char*)>
class OwnedLibrary final : public ClientLibrary {
public:
    OwnedLibrary(UniqueHandle<Traits> module, std::string name)
        : module_(std::move(module)), name_(std::move(name)) {}
    void* Symbol(const char* name) const override { return lookup(module_.get(), name); }
    const std::string& FileName() const override { return name_; }

private:
    UniqueHandle<Traits> module_;
    std::string name_;
};

// Opens the library of that name; nullptr when it does not load.
std::unique_ptr<ClientLibrary> OpenLibrary(const std::string& name);

// The client library's names on this platform, in the order they are tried.
std::vector<std::string> ClientLibraryNames();

// The client library's version, "?" when it cannot be told. Does not load
// the client where the version can be read from the file.
std::string ClientLibraryVersion();

}  // namespace qv::fb
