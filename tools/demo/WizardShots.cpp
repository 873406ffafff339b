// Walks the wizard page by page for scripts/demo/screenshots.sh: at each page it
// writes "<folder>\ready-<name>" and waits for "<folder>\done-<name>", which
// the script writes once it has taken the picture.
#include <windows.h>

#include <cstdio>
#include <string>

#include "ControlIds.h"
#include "WizardDriver.h"

using namespace qv::test;
using namespace qv::wizard;

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: wizard_shots FOLDER [PROGRAM]\n");
        return 2;
    }
    const std::string folder = argv[1];
    const std::string program = argc > 2 ? argv[2] : "quorvex-update.exe";
    WizardDriver wizard;
    wizard.Start(program);
    if (!wizard.WaitForWelcome())
        return 1;
    bool ok = WaitForScreenshot(folder, "1-welcome");
    ok = ok && wizard.NextTo(kChangesPageClass) && WaitForScreenshot(folder, "2-list-of-changes");
    if (ok) {
        wizard.Press(kIdButtonCancel);
        HWND box = wizard.WaitForMessageBox();
        ok = box && WaitForScreenshot(folder, "3-cancel-question");
        if (box)
            WizardDriver::Answer(box, IDNO);
    }
    ok = ok && wizard.NextTo(kReportPageClass) && WaitForScreenshot(folder, "4-report");
    // The report printed on the default printer: the script turns the
    // printed page into a picture.
    if (ok) {
        wizard.Press(kIdSpeedButtonPrint);
        HWND dialog = wizard.WaitForMessageBox(30000);
        ok = dialog && WaitForScreenshot(folder, "5-printer-dialog");
        if (dialog) {
            WizardDriver::Answer(dialog, IDOK);
            ok = WaitUntil([&] { return !::IsWindow(dialog); }, 30000) && ok;
        }
    }
    wizard.Press(kIdButtonNext);
    wizard.WaitForExit();
    return ok ? 0 : 1;
}
