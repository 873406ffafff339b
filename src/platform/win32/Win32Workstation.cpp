// The workstation as Windows tells it: the user and computer names of the
// Windows helpers, and the Terminal Services session.
#include <windows.h>

#include "core/Errors.h"
#include "database/Workstation.h"
#include "platform/win32/SystemInfo.h"

namespace qv {
namespace {

class Win32Workstation : public Workstation {
public:
    explicit Win32Workstation(UserInteraction& ui) : ui_(ui)
    {
        if (HMODULE kernel = ::GetModuleHandleA("kernel32.dll"))
            processIdToSessionId_ = reinterpret_cast<SessionFn>(
                reinterpret_cast<void*>(::GetProcAddress(kernel, "ProcessIdToSessionId")));
    }
    std::string UserName() override { return win32::GetUserNameText(); }
    std::string ComputerName() override { return win32::GetComputerNameText(ui_); }
    bool IsRemoteSession() override { return ::GetSystemMetrics(SM_REMOTESESSION) != 0; }
    unsigned long SessionIdOfCurrentProcess() override
    {
        if (!processIdToSessionId_)
            throw Error("API CALL ERROR");
        DWORD session = 0;
        if (!processIdToSessionId_(::GetCurrentProcessId(), &session))
            return 0;
        return session;
    }

private:
    using SessionFn = BOOL(WINAPI*)(DWORD, DWORD*);
    UserInteraction& ui_;
    SessionFn processIdToSessionId_ = nullptr;
};

}  // namespace

std::unique_ptr<Workstation> MakeWorkstation(UserInteraction& ui)
{
    return std::make_unique<Win32Workstation>(ui);
}

}  // namespace qv
