// The program: its switches, one instance at a time, then either the
// wizard window with its pages and the message loop until the window
// closes, or the same update run unattended. The exit code tells how it
// ended (core/ExitCode.h).
#include <windows.h>

#include <commctrl.h>

#include "app/ApplicationWindow.h"
#include "app/SingleInstance.h"
#include "core/CommandLine.h"
#include "core/Errors.h"
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
#include "platform/win32/SystemLibrary.h"
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

// /? and a refused command line: the box (when someone may see it) and the
// log named on the line carry the text; nothing else happens.
ExitCode RefuseOrHelp(const LaunchOptions& options, DialogInteraction& ui, bool boxes)
{
    const bool help = options.showHelp;
    const std::string message =
        help ? std::string(texts::kCommandLineHelp)
             : Format(texts::kBadCommandLine, {options.badArgument}) + "\r\n\r\n" + texts::kCommandLineHelp;
    if (!options.logPath.empty()) {
        win32::LogFileSink log;
        std::string error;
        if (log.Create(options.logPath, error))
            log.AddLine(help ? message : message + "\r\n\r\n" + texts::kResultKo, 0, "");
    }
    if (boxes) {
        if (help)
            ui.ShowInfoMessage(message);
        else
            ui.ShowErrorMessage(message);
    }
    return help ? ExitCode::Ok : ExitCode::BadCommandLine;
}

ExitCode RunUpdate(const LaunchOptions& options, int showCommand, DialogInteraction& ui,
                   ReportSink* log, bool boxes, timings::StageSequence& startup);

ExitCode Run(const LaunchOptions& options, int showCommand)
{
    timings::EnableFromEnvironment();  // the benchmark's figures, off by default
    if (timings::Enabled())
        timings::NoteProcessStart(MsSinceProcessCreation());
    timings::StageSequence startup;  // the start-up's steps, each ending where the next begins
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES | ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&icc);

    DialogInteraction ui;
    // A box on a desktop nobody sees (a service's window station) waits
    // for ever; so does one the command line asked not to show.
    const bool interactive = win32::HasInteractiveDesktop();
    const bool startBoxes = interactive && !options.suppressionAsked;
    if (options.showHelp || !options.badArgument.empty())
        return RefuseOrHelp(options, ui, startBoxes);

    SingleInstance instance;
    if (instance.AlreadyRunning())
        return ExitCode::AlreadyRunning;

    // The log is made before anything is touched; overwritten if it exists.
    win32::LogFileSink logFile;
    ReportSink* log = nullptr;
    if (!options.logPath.empty()) {
        std::string error;
        if (!logFile.Create(options.logPath, error)) {
            if (startBoxes)
                ui.ShowErrorMessage(Format(texts::kLogNotCreated, {logFile.FullPath()}) + "\r\n" + error);
            return ExitCode::LogNotCreated;
        }
        log = &logFile;
        // A relative path: the log says where it was made.
        if (logFile.FullPath() != options.logPath)
            logFile.AddLine(Format(texts::kLogFullPath, {logFile.FullPath()}), 0, "");
    }

    // A box waits for an answer only when someone may be there to give it.
    const bool boxes = !options.AnswersByPolicy() && interactive;
    ExitCode code = ExitCode::RunFailed;
    try {
        code = RunUpdate(options, showCommand, ui, log, !options.AnswersByPolicy(), startup);
    } catch (...) {
        // An error before or outside the update procedures (the company
        // file, the package's manifests): its message, then the failure
        // line, in the log as in the box.
        std::string message;
        try {
            throw;
        } catch (const SilentAbort&) {
        } catch (...) {
            message = CurrentErrorMessage();
        }
        ui.SetOwner(nullptr);
        if (log)
            logFile.AddLine((message.empty() ? std::string() : message + "\r\n\r\n") + texts::kResultKo,
                            0, "");
        if (boxes && !message.empty())
            ui.ShowErrorMessage(message);
        code = ExitCode::RunFailed;
    }
    // The endings that ran no update procedure say so in the log.
    if (log && code == ExitCode::NoKnownProduct)
        logFile.AddLine(std::string(texts::kNoKnownProduct) + "\r\n\r\n" + texts::kResultKo, 0, "");
    if (log && code == ExitCode::Cancelled)
        logFile.AddLine(texts::kClosedBeforeUpdate, 0, "");
    if (logFile.WriteFailed()) {
        ui.SetOwner(nullptr);
        if (boxes)
            ui.ShowErrorMessage(Format(texts::kLogWriteFailed, {logFile.FullPath()}) + "\r\n" +
                                logFile.WriteError());
        return ExitCode::LogIncomplete;
    }
    return code;
}

// Everything after the log: the engine and either the wizard or the
// unattended run. boxes: the user answers the boxes (no answer policy).
ExitCode RunUpdate(const LaunchOptions& options, int showCommand, DialogInteraction& ui,
                   ReportSink* log, bool boxes, timings::StageSequence& startup)
{
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
    // Under LocalSystem the current user's registry is the system account's:
    // without a product's record there the run stops with a clear message.
    ProcedureTable procedures;
    const bool asLocalSystem = win32::RunsAsLocalSystem();
    for (ProductKind kind : kProductKinds)
        if (UpdateProcedure procedure = FindUpdateProcedure(kind))
            procedures[kind] = [&updateEngine, &registry, &files, procedure, kind, asLocalSystem] {
                if (asLocalSystem)
                    RequireProductRecords(registry, files, kind);
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

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand)
{
    using namespace qv;
    win32::SecureProcessStart();
    // The line as typed, in Unicode: a path with a character that Windows-1252
    // lacks is refused rather than read as another file's name.
    const wchar_t* line = ::GetCommandLineW();
    const LaunchOptions options = ParseWideCommandLine(
        line ? std::u16string_view(reinterpret_cast<const char16_t*>(line)) : std::u16string_view());
    try {
        const ExitCode code = wizard::Run(options, showCommand);
        timings::WriteTimings();
        return wizard::Code(code);
    } catch (...) {
        // Nobody would answer the box of a run that answers by itself.
        if (!options.AnswersByPolicy() && !options.suppressionAsked && win32::HasInteractiveDesktop())
            wizard::HandleTopLevelError();
        return wizard::Code(ExitCode::RunFailed);
    }
}
