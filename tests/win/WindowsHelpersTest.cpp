// The Windows helpers that keep no state.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "platform/win32/WindowsHelpers.h"

namespace qv::win32 {
namespace {

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
