#include "ui/ErrorHandler.h"

#include <windows.h>

#include <exception>
#include <string>

#include "core/Errors.h"
#include "core/Text.h"
#include "platform/win32/WindowsHelpers.h"
#include "ui/DialogInteraction.h"

namespace qv::wizard {

namespace {
UserInteraction* g_topLevelInteraction = nullptr;  // GUI thread only
}

void SetTopLevelInteraction(UserInteraction* ui) noexcept
{
    g_topLevelInteraction = ui;
}

const char* ApplicationTitle()
{
    static const std::string title = [] {
        std::string name = win32::ProgramPath();
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
        // The program's error box, with its one sound.
        if (g_topLevelInteraction)
            g_topLevelInteraction->ShowErrorMessage(message);
        else
            DialogInteraction().ShowErrorMessage(message);
    } catch (...) {
    }
}

}  // namespace qv::wizard
