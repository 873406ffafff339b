#pragma once
// What the connection module asks the system, as tests answer it: the
// Firebird versions (accepted ones by default, with a record of where the
// server was asked) and this workstation.
#include <string>
#include <vector>

#include "database/VersionSource.h"
#include "database/Workstation.h"

namespace qv::test {

class FakeVersions : public FirebirdVersionSource {
public:
    std::string client = "WI-V6.3.2.4731";
    std::string server = "WI-V1.5.2.4731 Firebird 1.5";
    std::vector<std::string> askedServices;

    std::string ClientVersion() override { return client; }
    ServerVersionInfo ServerVersion(const std::string& serviceName, const std::string&,
                                    const std::string&) override
    {
        askedServices.push_back(serviceName);
        return {server, "Firebird/x86/Windows NT", 2};
    }
};

class FakeWorkstation : public Workstation {
public:
    std::string user = "marie";
    std::string computer = "COMPTA-01";
    bool remote = false;
    unsigned long session = 3;

    std::string UserName() override { return user; }
    std::string ComputerName() override { return computer; }
    bool IsRemoteSession() override { return remote; }
    unsigned long SessionIdOfCurrentProcess() override { return session; }
};

}  // namespace qv::test
