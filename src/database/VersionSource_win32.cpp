// The client's version in the Windows program: the FileVersion of the
// client library in the system folder, read from the file without loading
// it, so that a workstation without Firebird never loads a client. It is the
// very file the client is later loaded from (ClientLibraryNames).
#include <windows.h>

#include "database/ClientLibrary.h"
#include "database/VersionSource.h"
#include "platform/win32/SystemInfo.h"
#include "platform/win32/SystemLibrary.h"

namespace qv {
namespace {

class Win32VersionSource : public FirebirdVersionSource {
public:
    // "?" when there is no such file or it has no version.
    std::string ClientVersion() override
    {
        const std::string path = win32::SystemLibraryPath(fb::ClientLibraryNames().front());
        if (path.empty() || ::GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES)
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
