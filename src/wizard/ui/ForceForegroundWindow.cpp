#include "ui/ForceForegroundWindow.h"

namespace qv::wizard {
namespace {

// Windows 98 and later 9x systems, Windows 2000 and later NT systems: the
// ones that refuse SetForegroundWindow from a background process.
bool HasForegroundLock()
{
    OSVERSIONINFOA v{};
    v.dwOSVersionInfoSize = sizeof v;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!::GetVersionExA(&v))
        return true;
#pragma GCC diagnostic pop
    if (v.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS)
        return v.dwMajorVersion > 4 || (v.dwMajorVersion == 4 && v.dwMinorVersion > 0);
    if (v.dwPlatformId == VER_PLATFORM_WIN32_NT)
        return v.dwMajorVersion > 4;
    return false;
}

}  // namespace

bool ForceForegroundWindow(HWND window)
{
    if (::IsIconic(window))
        ::ShowWindow(window, SW_RESTORE);
    if (::GetForegroundWindow() == window)
        return true;

    if (HasForegroundLock()) {
        DWORD foregroundThread = ::GetWindowThreadProcessId(::GetForegroundWindow(), nullptr);
        DWORD ownThread = ::GetWindowThreadProcessId(window, nullptr);
        bool attached = foregroundThread != 0 && foregroundThread != ownThread &&
                        ::AttachThreadInput(ownThread, foregroundThread, TRUE);
        if (attached) {
            ::BringWindowToTop(window);
            ::SetForegroundWindow(window);
            ::AttachThreadInput(ownThread, foregroundThread, FALSE);
        }
        if (!attached || ::GetForegroundWindow() != window) {
            DWORD timeout = 0;
            ::SystemParametersInfoA(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &timeout, 0);
            ::SystemParametersInfoA(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, nullptr, SPIF_SENDCHANGE);
            ::BringWindowToTop(window);
            ::SetForegroundWindow(window);
            ::SystemParametersInfoA(SPI_SETFOREGROUNDLOCKTIMEOUT, 0,
                                    reinterpret_cast<void*>(static_cast<UINT_PTR>(timeout)),
                                    SPIF_SENDCHANGE);
        }
    } else {
        ::BringWindowToTop(window);
        ::SetForegroundWindow(window);
    }
    return ::GetForegroundWindow() == window;
}

}  // namespace qv::wizard
