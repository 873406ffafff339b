#include "ui/Delay.h"

#include <windows.h>

namespace qv::wizard {

void Delay(unsigned milliseconds)
{
    const ULONGLONG end = ::GetTickCount64() + milliseconds;
    for (;;) {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                ::PostQuitMessage(static_cast<int>(msg.wParam));  // for the main loop
                return;
            }
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        ULONGLONG now = ::GetTickCount64();
        if (now >= end)
            return;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
    }
}

}  // namespace qv::wizard
