// The Windows helpers that need no window.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <chrono>
#include <future>
#include <string>

#include "platform/win32/WindowsHelpers.h"
#include "BoundedWait.h"
#include "ScratchFolder.h"

namespace qv::win32 {
namespace {

using test::ScratchFolder;

TEST(WindowsHelpers, ShellFileOperationCopiesAndDeletesByMask)
{
    ScratchFolder dir;
    dir.Write("a.txt", "x");
    CreateDirectoryA((dir / "out").c_str(), nullptr);
    const unsigned quiet = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI;
    EXPECT_EQ(ShellFileOperation(FO_COPY, dir / "*.txt", dir / "out", nullptr, quiet, ""), 0);
    EXPECT_NE(GetFileAttributesA((dir / "out\\a.txt").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(ShellFileOperation(FO_DELETE, dir / "out\\*.txt", "", nullptr, quiet, ""), 0);
    EXPECT_EQ(GetFileAttributesA((dir / "out\\a.txt").c_str()), INVALID_FILE_ATTRIBUTES);
}

BOOL CALLBACK KeepIfVisibleOfThisProcess(HWND h, LPARAM lp)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    if (pid != GetCurrentProcessId() || !IsWindowVisible(h))
        return TRUE;
    *reinterpret_cast<HWND*>(lp) = h;
    return FALSE;
}

// A visible top-level window of this process, or null.
HWND VisibleWindowOfThisProcess()
{
    HWND found = nullptr;
    EnumWindows(KeepIfVisibleOfThisProcess, reinterpret_cast<LPARAM>(&found));
    return found;
}

TEST(WindowsHelpers, ShellFileOperationOnAMaskMatchingNothingShowsNoDialog)
{
    // Run beside this thread, which watches for any window the shell opens
    // (and closes it, so that a fault fails the test instead of hanging it).
    ScratchFolder dir;
    const unsigned quiet = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI;
    auto operation = std::async(std::launch::async, [&] {
        return ShellFileOperation(FO_DELETE, dir / "none*.zz", "", nullptr, quiet, "");
    });
    HWND dialog = nullptr;
    const bool returned = test::WaitUntil([&] {
        dialog = VisibleWindowOfThisProcess();
        return dialog || operation.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
    }, 30000);
    std::string title;
    if (dialog) {
        char text[256] = {};
        GetWindowTextA(dialog, text, sizeof text);
        title = text;
        test::WaitUntil([&] {
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
            PostMessageA(dialog, WM_CLOSE, 0, 0);
            return operation.wait_for(std::chrono::milliseconds(100)) == std::future_status::ready;
        }, 10000);
    }
    EXPECT_EQ(dialog, nullptr) << "the shell showed \"" << title << "\"";
    ASSERT_TRUE(returned) << "gave up after 30 s waiting for the shell operation to return";
    EXPECT_NE(operation.get(), -1) << "reported as aborted by the user";
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

TEST(WindowsHelpers, NegativeAndZeroDelaysDoNotProcessMessages)
{
    // A posted thread message stays queued through Delay(-50) and Delay(0).
    PostThreadMessageA(GetCurrentThreadId(), WM_APP, 0, 0);
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    Delay(-50);
    QueryPerformanceCounter(&end);
    // It did wait (a loose bound: the system's timers are not exact).
    EXPECT_GE((end.QuadPart - start.QuadPart) * 1000 / frequency.QuadPart, 40);
    Delay(0);
    MSG msg;
    EXPECT_TRUE(PeekMessageA(&msg, nullptr, WM_APP, WM_APP, PM_REMOVE));
}

}  // namespace
}  // namespace qv::win32
