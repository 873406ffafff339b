#include "ui/ErrorHandler.h"

#include <windows.h>

#include <exception>
#include <string>

#include "core/Errors.h"
#include "core/Text.h"
#include "core/Texts.h"

namespace qv::wizard {

const char* ApplicationTitle()
{
    static const std::string title = [] {
        char path[MAX_PATH] = {};
        DWORD n = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
        std::string name(path, n < MAX_PATH ? n : 0);
        std::size_t slash = name.find_last_of("\\/:");
        if (slash != std::string::npos)
            name.erase(0, slash + 1);
        std::size_t dot = name.find('.');
        if (dot != std::string::npos)
            name.erase(dot);
        if (name.size() > 1)
            name = name.substr(0, 1) + LowerAscii(name.substr(1));
        return name;
    }();
    return title.c_str();
}

void HandleTopLevelError() noexcept
{
    std::string message;
    try {
        throw;
    } catch (const SilentAbort&) {
        return;
    } catch (...) {
        message = CurrentErrorMessage();
    }
    try {
        ::MessageBeep(MB_ICONERROR);
        HWND owner = ::GetActiveWindow();
        ::MessageBoxA(owner, message.c_str(), ApplicationTitle(), MB_OK | MB_ICONERROR);
    } catch (...) {
    }
}

}  // namespace qv::wizard
