// The client's version in the Windows program: the FileVersion of
// gds32.dll, read from the file without loading it, so that a workstation
// without Firebird never loads a client.
#include <windows.h>

#include "database/VersionSource.h"
#include "platform/win32/SystemInfo.h"

namespace qv {
namespace {

class Win32VersionSource : public FirebirdVersionSource {
public:
    // Found the way the system finds a library by that name; "?" when there
    // is no such file or it has no version.
    std::string ClientVersion() override
    {
        char path[MAX_PATH] = {};
        if (!::SearchPathA(nullptr, "gds32.dll", nullptr, MAX_PATH, path, nullptr))
            return "?";
        return win32::FileVersionText(path);
    }
};

}  // namespace

std::unique_ptr<FirebirdVersionSource> MakeFirebirdVersionSource()
{
    return std::make_unique<Win32VersionSource>();
}

}  // namespace qv
