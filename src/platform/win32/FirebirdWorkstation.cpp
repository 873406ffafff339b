// The version source and workstation of the Windows program: the client's
// version is the FileVersion of gds32.dll, read from the file without
// loading it, so a workstation without Firebird never loads a client.
#include <windows.h>

#include <vector>

#include "core/Errors.h"
#include "database/VersionSource.h"
#include "database/Workstation.h"

namespace qv {

namespace {

// The FileVersion string of a library found the way the system finds one
// by that name; "?" when there is no file or no version.
std::string LibraryFileVersion(const char* name)
{
    char path[MAX_PATH] = {};
    if (!::SearchPathA(nullptr, name, nullptr, MAX_PATH, path, nullptr))
        return "?";
    DWORD ignored = 0;
    DWORD size = ::GetFileVersionInfoSizeA(path, &ignored);
    if (size == 0)
        return "?";
    std::vector<char> data(size);
    if (!::GetFileVersionInfoA(path, 0, size, data.data()))
        return "?";
    struct Translation {
        WORD language;
        WORD codePage;
    };
    Translation* translations = nullptr;
    UINT length = 0;
    if (!::VerQueryValueA(data.data(), "\\VarFileInfo\\Translation",
                          reinterpret_cast<void**>(&translations), &length) ||
        length < sizeof(Translation))
        return "?";
    char key[64];
    wsprintfA(key, "\\StringFileInfo\\%04x%04x\\FileVersion", translations[0].language,
              translations[0].codePage);
    char* value = nullptr;
    if (!::VerQueryValueA(data.data(), key, reinterpret_cast<void**>(&value), &length) ||
        length == 0 || !value)
        return "?";
    return std::string(value);
}

class Win32VersionSource : public FirebirdVersionSource {
public:
    std::string ClientVersion() override { return LibraryFileVersion("gds32.dll"); }
    ServerVersionInfo ServerVersion(const std::string& serviceName, const std::string& user,
                                    const std::string& password) override
    {
        return QueryServerProperties(serviceName, user, password);
    }
};

class Win32Workstation : public Workstation {
public:
    Win32Workstation()
    {
        if (HMODULE kernel = ::GetModuleHandleA("kernel32.dll"))
            processIdToSessionId_ = reinterpret_cast<SessionFn>(
                reinterpret_cast<void*>(::GetProcAddress(kernel, "ProcessIdToSessionId")));
    }
    std::string UserName() override
    {
        char name[257] = {};
        DWORD size = sizeof name;
        return ::GetUserNameA(name, &size) ? std::string(name) : std::string();
    }
    std::string ComputerName() override
    {
        char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
        DWORD size = sizeof name;
        return ::GetComputerNameA(name, &size) ? std::string(name) : std::string();
    }
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
    SessionFn processIdToSessionId_ = nullptr;
};

}  // namespace

std::unique_ptr<FirebirdVersionSource> MakeFirebirdVersionSource()
{
    return std::make_unique<Win32VersionSource>();
}

std::unique_ptr<Workstation> MakeWorkstation()
{
    return std::make_unique<Win32Workstation>();
}

}  // namespace qv
