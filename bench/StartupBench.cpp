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

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_startup WIZARD BARE_WINDOW [REPETITIONS]\n");
        return 2;
    }
    const int repetitions = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;
    std::vector<double> wizard, bare;
    for (int i = 0; i <= repetitions; ++i) {
        double w = TimeToWindow(argv[1], "TfrmMain", "TfrmWelcome");
        double b = TimeToWindow(argv[2], "QvBareWindow", nullptr);
        if (w < 0 || b < 0)
            return 1;
        if (i > 0) {  // the first round warms Wine's caches up
            wizard.push_back(w);
            bare.push_back(b);
        }
    }
    std::printf("start to welcome page  median %.0f ms (min %.0f, max %.0f, %d starts)\n",
                Median(wizard), *std::min_element(wizard.begin(), wizard.end()),
                *std::max_element(wizard.begin(), wizard.end()), repetitions);
    std::printf("start to bare window   median %.0f ms (min %.0f, max %.0f, %d starts)\n",
                Median(bare), *std::min_element(bare.begin(), bare.end()),
                *std::max_element(bare.begin(), bare.end()), repetitions);
    std::printf("ratio wizard / bare    %.2f (goal <= 1.2)\n", Median(wizard) / Median(bare));
    return 0;
}
