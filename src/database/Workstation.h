#pragma once
// What the presence name needs to know about this workstation.
#include <memory>
#include <string>

namespace qv {

class Workstation {
public:
    virtual ~Workstation() = default;
    virtual std::string UserName() = 0;
    virtual std::string ComputerName() = 0;
    // True in a Terminal Services session.
    virtual bool IsRemoteSession() = 0;
    // The session of the current process; 0 when the call fails. Raises
    // "API CALL ERROR" when the system does not offer the call.
    virtual unsigned long SessionIdOfCurrentProcess() = 0;
};

std::unique_ptr<Workstation> MakeWorkstation();

}  // namespace qv
