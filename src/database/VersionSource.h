#pragma once
// Where the connection module learns the client's and the server's
// versions. The real source reads the client library's version and asks
// the server's service manager; tests put their own in its place.
#include <memory>
#include <string>

#include "database/ServerProperties.h"

namespace qv {

class FirebirdVersionSource {
public:
    virtual ~FirebirdVersionSource() = default;
    // The client library's version, "?" when it cannot be told. Must not
    // load the client where the version can be read from the file.
    virtual std::string ClientVersion() = 0;
    // What the service manager says; the real source asks the server
    // (QueryServerProperties).
    virtual ServerVersionInfo ServerVersion(const std::string& serviceName,
                                            const std::string& user,
                                            const std::string& password)
    {
        return QueryServerProperties(serviceName, user, password);
    }
};

// The real source: the installed client's version (fb::ClientLibraryVersion)
// and the server's service manager.
std::unique_ptr<FirebirdVersionSource> MakeFirebirdVersionSource();

}  // namespace qv
