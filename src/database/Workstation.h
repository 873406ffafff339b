#pragma once
// What the presence name needs to know about this workstation.
#include <memory>
#include <string>

namespace qv {

class UserInteraction;

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

// The workstation of this platform (platform/win32/Win32Workstation.cpp,
// Workstation_posix.cpp beside this file). On Windows an unexpected failure to read the
// computer name is shown through ui and aborts silently.
std::unique_ptr<Workstation> MakeWorkstation(UserInteraction& ui);

}  // namespace qv
