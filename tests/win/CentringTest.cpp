// Where the wizard's windows open.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>

#include "ui/Centring.h"

namespace qv::wizard {
namespace {

TEST(Centring, CentreOnWorkAreaPutsTheWindowInTheMiddleOfItsMonitorsWorkArea)
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

}  // namespace
}  // namespace qv::wizard
