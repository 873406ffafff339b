// The client's version in the portable build: the client reports its own.
#include "database/FirebirdApi.h"
#include "database/VersionSource.h"

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
};

}  // namespace

std::unique_ptr<FirebirdVersionSource> MakeFirebirdVersionSource()
{
    return std::make_unique<PosixVersionSource>();
}

}  // namespace qv
