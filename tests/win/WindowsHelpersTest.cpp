// The Windows helpers that need no window.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include "platform/win32/WindowsHelpers.h"
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
    // A mask that matches nothing returns the shell's code without a dialog.
    int nothing = ShellFileOperation(FO_DELETE, dir / "none*.zz", "", nullptr, quiet, "");
    EXPECT_NE(nothing, -1);
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
