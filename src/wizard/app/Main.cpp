// The program: one instance at a time, the wizard window with its pages,
// then the message loop until the window closes.
#include <windows.h>

#include <commctrl.h>

#include "app/ApplicationWindow.h"
#include "app/SingleInstance.h"
#include "core/ProductTables.h"
#include "core/RunTimings.h"
#include "database/VersionSource.h"
#include "database/Workstation.h"
#include "engine/TdmUpdateCommon.h"
#include "engine/UpdateProcedures.h"
#include "main/DataModuleEngine.h"
#include "main/TfrmMain.h"
#include "pages/TfrmDisplayFile.h"
#include "pages/TfrmEndInstall.h"
#include "pages/TfrmWelcome.h"
#include "platform/win32/FileSystemWin32.h"
#include "platform/win32/ResourceEmbeddedSource.h"
#include "platform/win32/Win32MessageLoop.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32UserInteraction.h"
#include "platform/win32/WindowsInstaller.h"
#include "ui/ErrorHandler.h"
#include "ui/Window.h"

namespace qv::wizard {
namespace {

// Runs the message loop; when the queue is empty the wizard re-evaluates
// its actions, then the thread sleeps until the next message.
int RunMessageLoop(TfrmMain& main)
{
    MSG msg;
    for (;;) {
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT)
                return static_cast<int>(msg.wParam);
            if (main.Handle() && ::IsDialogMessageA(main.Handle(), &msg))
                continue;
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        if (main.Handle())
            Guarded([&] { main.OnIdle(); });
        ::WaitMessage();
    }
}

int Run(int showCommand)
{
    timings::EnableFromEnvironment();  // the benchmark's figures, off by default
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES | ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&icc);

    SingleInstance instance;
    if (instance.AlreadyRunning())
        return 0;

    win32::Win32UserInteraction ui;
    // The engine's reach into the system: the package in this program's own
    // resources, the real files, registry and message loop (whose timers
    // hand their errors to the top-level handler), and what the database
    // connection asks about the Firebird client and this workstation.
    win32::ResourceEmbeddedSource package;
    win32::TWindowsInstaller installer;
    win32::FileSystemWin32 files(installer);
    win32::Win32Registry registry;
    win32::Win32MessageLoop messages(HandleTopLevelError);
    const std::unique_ptr<FirebirdVersionSource> firebirdVersions = MakeFirebirdVersionSource();
    const std::unique_ptr<Workstation> workstation = MakeWorkstation(ui);
    // Built before the windows only so that they can hold a reference to it;
    // it shows nothing while it is created. Destroyed last but for the
    // services above: that removes the run's temporary files.
    TdmUpdateCommon dmUpdateCommon(package, files, registry, ui, messages, *firebirdVersions,
                                   *workstation);
    DataModuleEngine engine(dmUpdateCommon);

    ApplicationWindow application;
    TfrmMain frmMain(ui, engine);
    TfrmWelcome frmWelcome(application.Handle());
    TfrmEndInstall frmEndInstall(application.Handle());
    TfrmDisplayFile frmDisplayFile(application.Handle(), frmEndInstall.PrinterSetup());
    ui.SetOwner(frmMain.Handle());
    frmMain.SetPages(frmWelcome, frmDisplayFile, frmEndInstall);
    // The dispatch table: every kind this build has a procedure for.
    for (ProductKind kind : kProductKinds)
        if (UpdateProcedure procedure = FindUpdateProcedure(kind))
            frmMain.SetUpdateProcedure(kind, [&dmUpdateCommon, procedure, kind] {
                return procedure(dmUpdateCommon, kind);
            });

    frmMain.Show(showCommand);
    const int exitCode = RunMessageLoop(frmMain);
    timings::WriteTimings();
    return exitCode;
}

}  // namespace
}  // namespace qv::wizard

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand)
{
    try {
        return qv::wizard::Run(showCommand);
    } catch (...) {
        qv::wizard::HandleTopLevelError();
        return 1;
    }
}
