// How much processor time Delay(1000) takes: user + kernel time of this
// process (GetProcessTimes) around the wait, against the wall time. A busy
// loop of the same length is measured too, to show the figure would catch
// a spinning wait. Prints its figures; never fails on them.
#include <windows.h>

#include <cstdio>

#include "platform/win32/WindowsHelpers.h"

namespace {

double CpuMilliseconds()
{
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    return (qv::win32::ToFileTime(kernel) + qv::win32::ToFileTime(user)) / 10000.0;
}

template <typename F>
void Measure(const char* what, F&& wait)
{
    double cpu0 = CpuMilliseconds();
    DWORD wall0 = GetTickCount();
    wait();
    double cpu = CpuMilliseconds() - cpu0;
    DWORD wall = GetTickCount() - wall0;
    std::printf("%-42s wall %5lu ms  cpu %7.1f ms  %5.1f %% of one core\n", what,
                static_cast<unsigned long>(wall), cpu, wall ? 100.0 * cpu / wall : 0.0);
}

LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    return DefWindowProcA(h, m, w, l);
}

}  // namespace

int main()
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "QvDelayBench";
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, "QvDelayBench", "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                                  nullptr, wc.hInstance, nullptr);

    Measure("Delay(1000), idle queue", [] { qv::win32::Delay(1000); });
    SetTimer(window, 1, 10, nullptr);
    Measure("Delay(1000), a timer every 10 ms", [] { qv::win32::Delay(1000); });
    KillTimer(window, 1);
    Measure("SleepWithoutMessages(1000)", [] { qv::win32::SleepWithoutMessages(1000); });
    Measure("busy loop of 1000 ms (reference)", [] {
        DWORD start = GetTickCount();
        while (GetTickCount() - start < 1000) {
        }
    });
    DestroyWindow(window);
    return 0;
}
