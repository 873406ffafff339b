#include "ui/Centring.h"

namespace qv::wizard {

POINT CentredPosition(int width, int height, HWND anchor)
{
    HMONITOR monitor = anchor ? MonitorFromWindow(anchor, MONITOR_DEFAULTTOPRIMARY)
                            : MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    GetMonitorInfoA(monitor, &info);
    const RECT& area = info.rcWork;
    return POINT{area.left + (area.right - area.left - width) / 2,
                 area.top + (area.bottom - area.top - height) / 2};
}

void CentreOnWorkArea(HWND window)
{
    RECT r;
    GetWindowRect(window, &r);
    POINT at = CentredPosition(r.right - r.left, r.bottom - r.top, window);
    SetWindowPos(window, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace qv::wizard
