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
    KillTimer(window.get(), 1);
    EXPECT_GE(elapsed, 290u);
    EXPECT_GE(g_handled, 1 + 5);  // the posted message and several timer ticks
}

TEST(Delay, StopsEarlyWhenTheApplicationTerminates)
{
    PostQuitMessage(7);
    // Asked for a minute, it returns at once; half of it is a bound no
    // loaded machine reaches, and it still tells an early stop from none.
    DWORD start = GetTickCount();
    Delay(60000);
    EXPECT_LT(GetTickCount() - start, 30000u);
    // The quit is left for the main loop.
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 7u);
}

}  // namespace
}  // namespace qv::win32
