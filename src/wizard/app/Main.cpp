// The program: its switches, one instance at a time, then either the
// wizard window with its pages and the message loop until the window
// closes, or the same update run unattended. The exit code tells how it
// ended (core/ExitCode.h).
#include <windows.h>

#include <commctrl.h>

#include "app/ApplicationWindow.h"
#include "app/SingleInstance.h"
#include "core/CommandLine.h"
#include "core/ExitCode.h"
#include "core/Format.h"
#include "core/Texts.h"
#include "core/ProductTables.h"
#include "core/RunTimings.h"
#include "core/ScopeExit.h"
#include "database/VersionSource.h"
#include "database/Workstation.h"
#include "engine/UpdateEngine.h"
#include "engine/UpdateProcedures.h"
#include "main/EngineAdapter.h"
#include "main/ProgressWindow.h"
#include "main/WizardWindow.h"
#include "main/UnattendedRun.h"
#include "pages/ChangesPage.h"
#include "pages/ReportPage.h"
#include "pages/WelcomePage.h"
#include "platform/ReportLog.h"
#include "platform/UnattendedInteraction.h"
#include "platform/win32/FileSystemWin32.h"
#include "platform/win32/LogFileSink.h"
#include "platform/win32/ResourceEmbeddedSource.h"
#include "platform/win32/Win32MessageLoop.h"
#include "platform/win32/Win32Registry.h"
#include "ui/DialogInteraction.h"
#include "platform/win32/WindowsHelpers.h"
#include "platform/win32/InstallerFileServices.h"
#include "ui/ErrorHandler.h"
#include "ui/Window.h"

namespace qv::wizard {
namespace {

// Runs the message loop; when the queue is empty the wizard re-evaluates
// its actions, then the thread sleeps until the next message.
int RunMessageLoop(WizardWindow& main)
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

// Without windows there is nothing to paint: the engine's waits, which only
// let the report paint, are skipped. Timers tick as usual.
class WindowlessMessageLoop final : public MessageLoop {
public:
    explicit WindowlessMessageLoop(MessageLoop& loop) : loop_(loop) {}
    void Delay(int) override {}
    std::unique_ptr<RepeatingTimer> StartTimer(unsigned intervalMs,
                                               std::function<void()> onTick) override
    {
        return loop_.StartTimer(intervalMs, std::move(onTick));
    }

private:
    MessageLoop& loop_;
};

int Code(ExitCode code)
{
    return static_cast<int>(code);
}

// Milliseconds since Windows created this process.
double MsSinceProcessCreation()
{
    FILETIME created, exited, kernel, user, now;
    if (!::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user))
        return 0;
    ::GetSystemTimeAsFileTime(&now);
    const FileTime from = win32::ToFileTime(created), to = win32::ToFileTime(now);
    return to > from ? static_cast<double>(to - from) / 10000.0 : 0;  // 100 ns units
}

ExitCode Run(const LaunchOptions& options, int showCommand)
{
    timings::EnableFromEnvironment();  // the benchmark's figures, off by default
    if (timings::Enabled())
        timings::NoteProcessStart(MsSinceProcessCreation());
    timings::StageSequence startup;  // the start-up's steps, each ending where the next begins
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES | ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&icc);

    DialogInteraction ui;
    if (options.showHelp) {
        ui.ShowInfoMessage(texts::kCommandLineHelp);
        return ExitCode::Ok;
    }
    // A box waits for an answer only when someone may be there to give it.
    const bool boxes = !options.AnswersByPolicy();
    if (!options.badArgument.empty()) {
        if (boxes)
            ui.ShowErrorMessage(Format(texts::kBadCommandLine, {options.badArgument}) +
                                "\r\n\r\n" + texts::kCommandLineHelp);
        return ExitCode::BadCommandLine;
    }

    SingleInstance instance;
    if (instance.AlreadyRunning())
        return ExitCode::AlreadyRunning;

    // The log is made before anything is touched; overwritten if it exists.
    win32::LogFileSink logFile;
    ReportSink* log = nullptr;
    if (!options.logPath.empty()) {
        std::string error;
        if (!logFile.Create(options.logPath, error)) {
            if (boxes)
                ui.ShowErrorMessage(Format(texts::kLogNotCreated, {options.logPath}) + "\r\n" + error);
            return ExitCode::LogNotCreated;
        }
        log = &logFile;
    }
    // Unattended with /SUPPRESSMSGBOXES, the boxes go where the report goes:
    // the log, and the progress window once there is one.
    ReportTee boxReport(nullptr, log);
    UnattendedInteraction policy(boxReport, options.replaceSame);
    UserInteraction& user = boxes ? static_cast<UserInteraction&>(ui) : policy;
    if (!boxes)
        SetTopLevelInteraction(&policy);
    const ScopeExit topLevelReset([] { SetTopLevelInteraction(nullptr); });

    // The engine's reach into the system: the package in this program's own
    // resources, the real files, registry and message loop (whose timers
    // hand their errors to the top-level handler), and what the database
    // connection asks about the Firebird client and this workstation.
    win32::ResourceEmbeddedSource package;
    win32::InstallerFileServices installer;
    win32::FileSystemWin32 files(installer);
    win32::Win32Registry registry;
    win32::Win32MessageLoop windowsLoop(HandleTopLevelError);
    WindowlessMessageLoop windowlessLoop(windowsLoop);
    MessageLoop& messages = options.Windowless() ? static_cast<MessageLoop&>(windowlessLoop) : windowsLoop;
    const std::unique_ptr<FirebirdVersionSource> firebirdVersions = MakeFirebirdVersionSource();
    const std::unique_ptr<Workstation> workstation = MakeWorkstation(user);
    // Built before the windows only so that they can hold a reference to it;
    // it shows nothing while it is created. Destroyed last but for the
    // services above: that removes the run's temporary files.
    UpdateEngine updateEngine(package, files, registry, user, messages, *firebirdVersions,
                              *workstation);
    EngineAdapter engine(updateEngine, log);
    // The dispatch table: every kind this build has a procedure for.
    ProcedureTable procedures;
    for (ProductKind kind : kProductKinds)
        if (UpdateProcedure procedure = FindUpdateProcedure(kind))
            procedures[kind] = [&updateEngine, procedure, kind] {
                return procedure(updateEngine, kind);
            };

    if (options.mode != RunMode::Wizard) {
        std::unique_ptr<ProgressWindow> progress;
        if (options.mode == RunMode::Silent) {
            progress = std::make_unique<ProgressWindow>();
            ui.SetOwner(progress->Handle());
            boxReport.SetFirst(&progress->Report());
            progress->Show();
        }
        const ExitCode code = UnattendedRun(engine, user, procedures, progress.get()).Run();
        // The window goes first: nothing may write to it any more (the log
        // stays to the end).
        engine.SetReportTarget(nullptr);
        boxReport.SetFirst(nullptr);
        return code;  // the progress window closes itself here
    }

    startup.End(timings::Stage::StartupServices);
    ApplicationWindow application;
    WizardWindow wizardWindow(ui, engine);
    WelcomePage welcomePage(application.Handle());
    ReportPage reportPage(application.Handle());
    ChangesPage changesPage(application.Handle(), reportPage.PrinterSetup());
    ui.SetOwner(wizardWindow.Handle());
    wizardWindow.SetPages(welcomePage, changesPage, reportPage);
    for (auto& [kind, procedure] : procedures)
        wizardWindow.SetUpdateProcedure(kind, procedure);

    startup.End(timings::Stage::StartupWindows);
    wizardWindow.Show(showCommand);
    startup.End(timings::Stage::StartupShowing);
    RunMessageLoop(wizardWindow);
    return wizardWindow.Result();
}

}  // namespace
}  // namespace qv::wizard

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR arguments, int showCommand)
{
    using namespace qv;
    const LaunchOptions options = ParseCommandLine(arguments ? arguments : "");
    try {
        const ExitCode code = wizard::Run(options, showCommand);
        timings::WriteTimings();
        return wizard::Code(code);
    } catch (...) {
        // Nobody would answer the box of a run that answers by itself.
        if (!options.AnswersByPolicy())
            wizard::HandleTopLevelError();
        return wizard::Code(ExitCode::RunFailed);
    }
}
