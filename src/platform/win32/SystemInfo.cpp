#include "platform/win32/SystemInfo.h"

#include <windows.h>

#include <cstring>
#include <vector>

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
    // Names reach 256 characters (UNLEN); the buffer grows to whatever
    // Windows asks for.
    std::vector<char> name(257);
    for (;;) {
        DWORD size = static_cast<DWORD>(name.size());
        SetLastError(0);
        if (GetUserNameA(name.data(), &size))
            return std::string(name.data(), strnlen(name.data(), name.size()));
        const DWORD error = GetLastError();
        if (error == ERROR_NOT_LOGGED_ON)
            return "?";
        if (error != ERROR_INSUFFICIENT_BUFFER || size <= name.size())
            return std::string();
        name.resize(size);
    }
}

std::string FileVersionText(const std::string& path)
{
    VersionBlock block(path);
    if (!block.Loaded())
        return "?";
    return block.String(block.Translation(), "FileVersion");
}

}  // namespace qv::win32
