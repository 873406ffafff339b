#include "ui/ForceForegroundWindow.h"

namespace qv::wizard {

bool ForceForegroundWindow(HWND window)
{
    if (::IsIconic(window))
        ::ShowWindow(window, SW_RESTORE);
    if (::GetForegroundWindow() == window)
        return true;

    // Every system the program runs on refuses SetForegroundWindow from a
    // background process: attach to the foreground thread's input first.
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
        // Failing that, lift the foreground lock time-out for a moment.
        DWORD timeout = 0;
        ::SystemParametersInfoA(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &timeout, 0);
        ::SystemParametersInfoA(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, nullptr, SPIF_SENDCHANGE);
        ::BringWindowToTop(window);
        ::SetForegroundWindow(window);
        ::SystemParametersInfoA(SPI_SETFOREGROUNDLOCKTIMEOUT, 0,
                                reinterpret_cast<void*>(static_cast<UINT_PTR>(timeout)),
                                SPIF_SENDCHANGE);
    }
    return ::GetForegroundWindow() == window;
}

}  // namespace qv::wizard
