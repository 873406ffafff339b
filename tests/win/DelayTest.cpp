// Delay keeps the window alive while it waits and stops when the
// application terminates.
#include <gtest/gtest.h>
#include <windows.h>

#include "platform/win32/Win32Handles.h"
#include "platform/win32/WindowsHelpers.h"

namespace qv::win32 {
namespace {

int g_handled = 0;

LRESULT CALLBACK CountingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_APP || msg == WM_TIMER) {
        ++g_handled;
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

UniqueWindow CountingWindow()
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = CountingProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "QvDelayTest";
    RegisterClassA(&wc);
    return UniqueWindow(CreateWindowExA(0, "QvDelayTest", "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                                        nullptr, wc.hInstance, nullptr));
}

TEST(Delay, ProcessesMessagesWhileItWaits)
{
    UniqueWindow window = CountingWindow();
    ASSERT_TRUE(window);
    g_handled = 0;
    PostMessageA(window.get(), WM_APP, 0, 0);
    SetTimer(window.get(), 1, 20, nullptr);
    DWORD start = GetTickCount();
    Delay(300);
    DWORD elapsed = GetTickCount() - start;
    EXPECT_GE(elapsed, 290u);  // it waits its whole time
    EXPECT_GE(g_handled, 1);   // the posted message, at least
    // Timer ticks come only while it processes messages. How many come in a
    // given time depends on the machine's load, so it waits in short steps
    // until several have come (a bound of steps, not of time).
    for (int steps = 0; steps < 1000 && g_handled < 1 + 5; ++steps)
        Delay(20);
    KillTimer(window.get(), 1);
    EXPECT_GE(g_handled, 1 + 5);  // the posted message and several timer ticks
}

TEST(Delay, StopsEarlyWhenTheApplicationTerminates)
{
    PostQuitMessage(7);
    // Asked for three minutes, it returns before they are over: a wait that
    // did not stop would take them all, and one that stops does not, however
    // loaded the machine.
    const ULONGLONG asked = 3 * 60 * 1000;
    const ULONGLONG start = GetTickCount64();
    Delay(static_cast<int>(asked));
    EXPECT_LT(GetTickCount64() - start, asked);
    // The quit is left for the main loop.
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 7u);
}

}  // namespace
}  // namespace qv::win32
