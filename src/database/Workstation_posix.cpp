// The workstation of the portable build: the login and host names, and no
// Terminal Services.
#include <unistd.h>

#include <cstdlib>

#include "database/Workstation.h"

namespace qv {
namespace {

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

std::unique_ptr<Workstation> MakeWorkstation(UserInteraction&)
{
    return std::make_unique<PosixWorkstation>();
}

}  // namespace qv
