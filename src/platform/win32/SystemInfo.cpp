#include "platform/win32/SystemInfo.h"

#include <windows.h>

#include "core/Errors.h"
#include "platform/win32/VersionBlock.h"

namespace qv::win32 {

std::string GetWindowsFolder()
{
    char buffer[260] = {};
    UINT length = GetWindowsDirectoryA(buffer, sizeof buffer);
    if (length < 1 || length > 259)
        return std::string();
    std::string folder(buffer, length);
    if (folder.back() != '\\')
        folder += '\\';
    return folder;
}

void ShowLastError(UserInteraction& ui, const std::string& prefix, AfterError after)
{
    ui.ShowErrorMessage(prefix + "\r\n" + LastErrorText());
    if (after == AfterError::Abort)
        throw SilentAbort();
}

std::string GetComputerNameText(UserInteraction& ui)
{
    char name[16] = {};
    DWORD size = sizeof name;
    if (GetComputerNameA(name, &size))
        return std::string(name, size);
    DWORD code = GetLastError();
    if (code == ERROR_NOT_LOGGED_ON)
        return "?";
    std::string prefix = "GetComputerName " + std::to_string(code);
    SetLastError(code);
    ShowLastError(ui, prefix, AfterError::Abort);
    return "?";  // not reached
}

std::string GetUserNameText()
{
    char name[80] = {};
    DWORD size = sizeof name;
    SetLastError(0);
    GetUserNameA(name, &size);
    if (GetLastError() == ERROR_NOT_LOGGED_ON)
        return "?";
    return std::string(name, strnlen(name, sizeof name));
}

std::string FileVersionText(const std::string& path)
{
    VersionBlock block(path);
    if (!block.Loaded())
        return "?";
    return block.String(block.Translation(), "FileVersion");
}

}  // namespace qv::win32
