#include "database/VersionSource.h"

#include "database/ClientLibrary.h"

namespace qv {
namespace {

// The installed client's version, as this platform tells it.
class InstalledClientVersionSource : public FirebirdVersionSource {
public:
    std::string ClientVersion() override { return fb::ClientLibraryVersion(); }
};

}  // namespace

std::unique_ptr<FirebirdVersionSource> MakeFirebirdVersionSource()
{
    return std::make_unique<InstalledClientVersionSource>();
}

}  // namespace qv
