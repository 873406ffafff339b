// Start-up of the wizard against a bare window, both started by this one
// process under the same Wine: from CreateProcess to the moment the window
// is visible (for the wizard: its welcome page) and the program waits for
// input. The two are started in turn, several times; the first start of
// each is a warm-up and is not counted. Prints the figures; never fails on
// them.
//   bench_startup WIZARD BARE_WINDOW [REPETITIONS]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "wizard/ControlIds.h"

namespace {

struct Search {
    const char* topClass;
    const char* childClass;  // nullptr: the top-level window is enough
    DWORD process;
    bool found;
};

BOOL CALLBACK FindChild(HWND h, LPARAM p)
{
    auto* search = reinterpret_cast<Search*>(p);
    char name[64];
    if (GetClassNameA(h, name, sizeof name) && std::string(name) == search->childClass &&
        IsWindowVisible(h)) {
        search->found = true;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK FindTop(HWND h, LPARAM p)
{
    auto* search = reinterpret_cast<Search*>(p);
    DWORD process = 0;
    GetWindowThreadProcessId(h, &process);
    char name[64];
    if (process != search->process || !IsWindowVisible(h) || !GetClassNameA(h, name, sizeof name) ||
        std::string(name) != search->topClass)
        return TRUE;
    if (!search->childClass)
        search->found = true;
    else
        EnumChildWindows(h, FindChild, p);
    return search->found ? FALSE : TRUE;
}

// Milliseconds from the start of the program to its window shown and idle;
// -1 when it did not come within 60 s.
double TimeToWindow(const std::string& program, const char* topClass, const char* childClass)
{
    LARGE_INTEGER frequency, start, now;
    QueryPerformanceFrequency(&frequency);
    std::string command = "\"" + program + "\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    QueryPerformanceCounter(&start);
    if (!CreateProcessA(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &si, &pi)) {
        std::fprintf(stderr, "bench_startup: cannot start %s\n", program.c_str());
        return -1;
    }
    double ms = -1;
    for (;;) {
        Search search{topClass, childClass, pi.dwProcessId, false};
        EnumWindows(FindTop, reinterpret_cast<LPARAM>(&search));
        if (search.found && WaitForInputIdle(pi.hProcess, 0) == 0) {
            QueryPerformanceCounter(&now);
            ms = 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) /
                 static_cast<double>(frequency.QuadPart);
            break;
        }
        QueryPerformanceCounter(&now);
        if (now.QuadPart - start.QuadPart > 60 * frequency.QuadPart)
            break;
        Sleep(1);
    }
    // Nothing of the program's state matters here: it is ended at once.
    TerminateProcess(pi.hProcess, 0);
    WaitForSingleObject(pi.hProcess, 10000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return ms;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

void PrintFigure(const char* label, const std::vector<double>& values, int repetitions)
{
    std::printf("%-40s median %.0f ms (min %.0f, max %.0f, %d starts)\n", label, Median(values),
                *std::min_element(values.begin(), values.end()),
                *std::max_element(values.begin(), values.end()), repetitions);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr,
                     "usage: bench_startup WIZARD BARE_WINDOW [REPETITIONS [BARE_WITH_LIBRARIES]]\n");
        return 2;
    }
    const int repetitions = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;
    const char* withLibraries = argc > 4 ? argv[4] : nullptr;
    std::vector<double> wizard, bare, libraries;
    for (int i = 0; i <= repetitions; ++i) {
        double w = TimeToWindow(argv[1], qv::wizard::kMainWindowClass, qv::wizard::kWelcomePageClass);
        double b = TimeToWindow(argv[2], "QvBareWindow", nullptr);
        double l = withLibraries ? TimeToWindow(withLibraries, "QvBareWindow", nullptr) : 0;
        if (w < 0 || b < 0 || l < 0)
            return 1;
        if (i > 0) {  // the first round warms Wine's caches up
            wizard.push_back(w);
            bare.push_back(b);
            libraries.push_back(l);
        }
    }
    PrintFigure("start to welcome page", wizard, repetitions);
    PrintFigure("start to bare window", bare, repetitions);
    std::printf("ratio wizard / bare    %.2f (goal <= 1.2)\n", Median(wizard) / Median(bare));
    if (withLibraries) {
        PrintFigure("start to bare window, wizard's libraries", libraries, repetitions);
        std::printf("ratio bare with the wizard's libraries / bare    %.2f\n",
                    Median(libraries) / Median(bare));
    }
    return 0;
}
