// Walks the wizard page by page for scripts/screenshots.sh: at each page it
// writes "<folder>\ready-<name>" and waits for "<folder>\done-<name>", which
// the script writes once it has taken the picture.
#include <windows.h>

#include <cstdio>
#include <string>

#include "ControlIds.h"
#include "WizardDriver.h"

using namespace qv::test;
using namespace qv::wizard;

namespace {

bool Exists(const std::string& path)
{
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool Shot(const std::string& folder, const std::string& name)
{
    // Let the idle update and the painting settle first.
    WaitUntil([] { return false; }, 700);
    std::string ready = folder + "\\ready-" + name;
    if (FILE* f = std::fopen(ready.c_str(), "w"))
        std::fclose(f);
    return WaitUntil([&] { return Exists(folder + "\\done-" + name); }, 30000);
}

}  // namespace

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
    bool ok = Shot(folder, "1-welcome");
    ok = ok && wizard.NextTo(kDisplayFileClass) && Shot(folder, "2-list-of-changes");
    if (ok) {
        wizard.Press(kIdButtonCancel);
        HWND box = wizard.WaitForMessageBox();
        ok = box && Shot(folder, "3-cancel-question");
        if (box)
            WizardDriver::Answer(box, IDNO);
    }
    ok = ok && wizard.NextTo(kEndInstallClass) && Shot(folder, "4-report");
    wizard.Press(kIdButtonNext);
    wizard.WaitForExit();
    return ok ? 0 : 1;
}
