// The version source and workstation of the portable build: the client
// reports its own version, and there are no Terminal Services.
#include <unistd.h>

#include <cstdlib>

#include "database/FirebirdApi.h"
#include "database/VersionSource.h"
#include "database/Workstation.h"

namespace qv {

namespace {

class PosixVersionSource : public FirebirdVersionSource {
public:
    std::string ClientVersion() override
    {
        try {
            const fb::FirebirdApi& api = fb::Client();
            if (!api.get_client_version)
                return "?";
            char buffer[256] = {};
            api.get_client_version(buffer);
            return buffer;
        } catch (...) {
            return "?";
        }
    }
    ServerVersionInfo ServerVersion(const std::string& serviceName, const std::string& user,
                                    const std::string& password) override
    {
        return QueryServerProperties(serviceName, user, password);
    }
};

class PosixWorkstation : public Workstation {
public:
    std::string UserName() override
    {
        const char* user = std::getenv("USER");
        return user ? user : "";
    }
    std::string ComputerName() override
    {
        char name[256] = {};
        if (gethostname(name, sizeof name - 1) != 0)
            return {};
        return name;
    }
    bool IsRemoteSession() override { return false; }
    unsigned long SessionIdOfCurrentProcess() override { return 0; }
};

}  // namespace

std::unique_ptr<FirebirdVersionSource> MakeFirebirdVersionSource()
{
    return std::make_unique<PosixVersionSource>();
}

std::unique_ptr<Workstation> MakeWorkstation()
{
    return std::make_unique<PosixWorkstation>();
}

}  // namespace qv
