#pragma once
// A shared library opened at run time, and the names under which this
// platform's Firebird client is looked for. Split by platform:
// ClientLibrary_posix.cpp (dlopen) and ClientLibrary_win32.cpp
// (LoadLibraryA).
#include <memory>
#include <string>
#include <vector>

namespace qv::fb {

class ClientLibrary {
public:
    virtual ~ClientLibrary() = default;
    // The address of an exported function, or nullptr.
    virtual void* Symbol(const char* name) const = 0;
    virtual const std::string& FileName() const = 0;
};

// Opens the library of that name; nullptr when it does not load.
std::unique_ptr<ClientLibrary> OpenLibrary(const std::string& name);

// The client library's names on this platform, in the order they are tried.
std::vector<std::string> ClientLibraryNames();

}  // namespace qv::fb
