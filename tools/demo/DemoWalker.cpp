// Walks the real wizard through a whole update for scripts/demo.sh, as a
// person would: Suivant, Démarrer, Yes to any question, then reads the
// report and presses Quitter. At each page it writes "<folder>\ready-<name>"
// and waits for "<folder>\done-<name>" (the script's screenshot); the
// report's text is left in "<folder>\report.txt" and the questions asked in
// "<folder>\questions.txt" (Windows-1252).
//   demo_walker FOLDER [PROGRAM]
// Exit code 0 when the wizard ended normally, 1 otherwise.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <string>

#include "ControlIds.h"
#include "WizardDriver.h"

using namespace qv::test;
using namespace qv::wizard;

namespace {

// Answers the run's questions Yes (OK for a plain message) until the
// wizard offers "Quitter" again.
bool WaitForTheRun(WizardDriver& wizard, const std::string& folder)
{
    int questions = 0;
    return WaitUntil(
        [&] {
            if (HWND box = wizard.FindMessageBox()) {
                if (FILE* f = std::fopen((folder + "\\questions.txt").c_str(), "ab")) {
                    std::string text = WizardDriver::MessageBoxText(box);
                    std::fprintf(f, "%s\n", text.c_str());
                    std::fclose(f);
                }
                if (++questions == 1)
                    WaitForScreenshot(folder, "3-question");
                bool yesNo = ::GetDlgItem(box, IDYES) != nullptr;
                WizardDriver::Answer(box, yesNo ? IDYES : IDOK);
                return false;
            }
            return wizard.IsEnabled(kIdButtonNext) &&
                   wizard.ControlText(kIdButtonNext) == "Quitter";
        },
        20 * 60 * 1000);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: demo_walker FOLDER [PROGRAM]\n");
        return 2;
    }
    const std::string folder = argv[1];
    const std::string program = argc > 2 ? argv[2] : "quorvex-update.exe";
    WizardDriver wizard;
    wizard.Start(program);
    if (!wizard.WaitForWelcome())
        return 1;
    // For the benchmark: the program's memory once the welcome page is up
    // and the program waits for input.
    ::WaitForInputIdle(wizard.Process(), 5000);
    PROCESS_MEMORY_COUNTERS atWelcome{};
    atWelcome.cb = sizeof atWelcome;
    ::GetProcessMemoryInfo(wizard.Process(), &atWelcome, sizeof atWelcome);
    bool ok = WaitForScreenshot(folder, "1-welcome");
    ok = ok && wizard.NextTo(kChangesPageClass) && WaitForScreenshot(folder, "2-list-of-changes");
    if (ok) {
        const ULONGLONG start = ::GetTickCount64();
        wizard.Press(kIdButtonNext);  // Démarrer: the update runs
        ok = WaitForTheRun(wizard, folder);
        const ULONGLONG runMs = ::GetTickCount64() - start;
        // For the benchmark: the run's duration and the program's peak memory.
        PROCESS_MEMORY_COUNTERS memory{};
        memory.cb = sizeof memory;
        ::GetProcessMemoryInfo(wizard.Process(), &memory, sizeof memory);
        if (FILE* f = std::fopen((folder + "\\timing.txt").c_str(), "w")) {
            std::fprintf(f, "run_ms %llu\npeak_working_set %llu\nwelcome_working_set %llu\n",
                         runMs, static_cast<unsigned long long>(memory.PeakWorkingSetSize),
                         static_cast<unsigned long long>(atWelcome.WorkingSetSize));
            std::fclose(f);
        }
        ok = ok && WaitForScreenshot(folder, "4-report");
    }
    std::string report = WizardDriver::Text(wizard.Control(kIdRichEditReport));
    if (FILE* f = std::fopen((folder + "\\report.txt").c_str(), "wb")) {
        std::fwrite(report.data(), 1, report.size(), f);
        std::fclose(f);
    }
    wizard.Press(kIdButtonNext);  // Quitter
    return ok && wizard.WaitForExit(60000) == 0 ? 0 : 1;
}
