// The Windows helpers that keep no state.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>

#include "platform/win32/WindowsHelpers.h"

namespace qv::win32 {
namespace {

TEST(WindowsHelpers, CentreOnWorkAreaPutsTheWindowInTheMiddleOfItsMonitorsWorkArea)
{
    HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 3, 5, 301, 203, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    CentreOnWorkArea(window);
    RECT r;
    GetWindowRect(window, &r);
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &info);
    const RECT& area = info.rcWork;
    EXPECT_EQ(r.right - r.left, 301);
    EXPECT_EQ(r.bottom - r.top, 203);
    EXPECT_LE(std::abs((r.left - area.left) - (area.right - r.right)), 1);
    EXPECT_LE(std::abs((r.top - area.top) - (area.bottom - r.bottom)), 1);
    POINT before = CentredPosition(301, 203);
    EXPECT_EQ(before.x, r.left);
    EXPECT_EQ(before.y, r.top);
    DestroyWindow(window);
}

TEST(WindowsHelpers, DriveLettersAreUpperCaseLettersInSystemOrder)
{
    std::string letters = GetDriveLetters();
    ASSERT_FALSE(letters.empty());
    EXPECT_NE(letters.find('C'), std::string::npos);
    char list[256] = {};
    DWORD n = GetLogicalDriveStringsA(255, list);
    std::string expected;
    for (const char* p = list; p < list + n && *p; p += strlen(p) + 1)
        expected += static_cast<char>(toupper(*p));
    EXPECT_EQ(letters, expected);
}

TEST(WindowsHelpers, PlainSleepAndZeroDelayDoNotProcessMessages)
{
    // A posted thread message stays queued through SleepWithoutMessages(50)
    // and Delay(0).
    PostThreadMessageA(GetCurrentThreadId(), WM_APP, 0, 0);
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    SleepWithoutMessages(50);
    QueryPerformanceCounter(&end);
    // It did wait (a loose bound: the system's timers are not exact).
    EXPECT_GE((end.QuadPart - start.QuadPart) * 1000 / frequency.QuadPart, 40);
    Delay(0);
    MSG msg;
    EXPECT_TRUE(PeekMessageA(&msg, nullptr, WM_APP, WM_APP, PM_REMOVE));
}

}  // namespace
}  // namespace qv::win32
