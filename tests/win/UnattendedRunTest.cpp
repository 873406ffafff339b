// The update rolled out without anybody at the keyboard: the real
// quorvex-update.exe with its switches on a Quorvex Finance installation
// older than the package, its exit codes and its log file; and the switches
// it refuses.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "BoundedWait.h"
#include "ControlIds.h"
#include "SuiteWorkstation.h"
#include "WizardDriver.h"

namespace qv::test {
namespace {

using namespace qv::wizard;

constexpr char kProgram[] = "quorvex-update.exe";
constexpr DWORD kRunTimeoutMs = 4 * 60 * 1000;
constexpr char kBom[] = "\xEF\xBB\xBF";

// The exit codes of docs/deployment.md.
enum : DWORD {
    kExitOk = 0,
    kExitRunFailed = 1,
    kExitNot = 3,
    kExitWarning = 4,
    kExitBadCommandLine = 8,
    kExitLogNotCreated = 9,
};

// Every line break of the text is CR LF.
bool OnlyCrLf(const std::string& text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
            return false;
        if (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'))
            return false;
    }
    return true;
}

class UnattendedRun : public SuiteWorkstation {
protected:
    std::string LogPath() const { return temporary_->Path() + "\\journal de mise à jour.log"; }

    // Runs the program with arguments, without any display when display is
    // false (the environment it gets has no DISPLAY, so Wine can open no
    // window for it), and waits for its end. Its exit code, or STILL_ACTIVE.
    DWORD RunProgram(const std::string& arguments, bool display = false)
    {
        std::string path = TestProgramFolder() + kProgram;
        std::string command = "\"" + path + "\" " + arguments;
        char saved[256] = {};
        const bool hadDisplay = GetEnvironmentVariableA("DISPLAY", saved, sizeof saved) > 0;
        if (!display)
            SetEnvironmentVariableA("DISPLAY", nullptr);
        STARTUPINFOA si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        const BOOL started = CreateProcessA(path.c_str(), command.data(), nullptr, nullptr, FALSE,
                                            0, nullptr, TestProgramFolder().c_str(), &si, &pi);
        if (hadDisplay)
            SetEnvironmentVariableA("DISPLAY", saved);
        if (!started)
            return STILL_ACTIVE;
        DWORD code = STILL_ACTIVE;
        if (WaitForSingleObject(pi.hProcess, kRunTimeoutMs) == WAIT_OBJECT_0)
            GetExitCodeProcess(pi.hProcess, &code);
        else
            TerminateProcess(pi.hProcess, 99);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        return code;
    }

    // The log as the test's text, after checking its form: a byte-order
    // mark, UTF-8, CR LF line ends.
    std::string Log()
    {
        const std::string bytes = ReadFileOrMissing(LogPath());
        EXPECT_EQ(bytes.rfind(kBom, 0), 0u) << "no byte-order mark";
        EXPECT_TRUE(OnlyCrLf(bytes)) << "a line break that is not CR LF";
        return Cp1252FromUtf8(bytes.substr(bytes.rfind(kBom, 0) == 0 ? 3 : 0));
    }

    std::string Unattended() const { return "/VERYSILENT /SUPPRESSMSGBOXES /LOG=\"" + LogPath() + "\""; }
};

TEST_F(UnattendedRun, VerySilentWithoutDisplayUpdatesThenKeepsTheUpToDateInstallation)
{
    ASSERT_EQ(RunProgram(Unattended()), kExitOk);
    EXPECT_EQ(Differing(), 0);
    std::string log = Log();
    EXPECT_EQ(log.rfind("Mise à jour : Quorvex Finance  ", 0), 0u) << log.substr(0, 200);
    EXPECT_TRUE(EndsWith(log, kOk));
    EXPECT_NE(log.find("Copie de "), std::string::npos);
    EXPECT_EQ(log.find("Réponse automatique"), std::string::npos);

    // Again: the marker is the same, the policy keeps the installation.
    ASSERT_EQ(RunProgram(Unattended()), kExitNot);
    log = Log();  // overwritten, not appended to
    EXPECT_EQ(log.rfind("Mise à jour : Quorvex Finance  ", 0), 0u);
    EXPECT_NE(log.find("Confirmation : Le fichier GS-00.int présent sur votre système est à "
                       "jour.\r\nVoulez-vous tout de même effectuer la mise à jour ?\r\n"
                       "Réponse automatique : Non\r\n\r\n"
                       "Le fichier C:\\Quorvex5\\gs\\GS-00.int\r\n"
                       "est à jour : il n'est pas remplacé.\r\n"),
              std::string::npos)
        << log;
    EXPECT_EQ(log.find("Copie de"), std::string::npos);
    EXPECT_TRUE(EndsWith(log, kNot));

    // /REPLACESAME: the same files are copied again, the marker last.
    ASSERT_EQ(RunProgram(Unattended() + " /REPLACESAME"), kExitOk);
    log = Log();
    EXPECT_NE(log.find("Réponse automatique : Oui"), std::string::npos);
    EXPECT_NE(log.find("vers C:\\Quorvex5\\gs\\GS-00.int\r\n"), std::string::npos);
    EXPECT_TRUE(EndsWith(log, kOk));
    EXPECT_EQ(Differing(), 0);
}

TEST_F(UnattendedRun, ALockedFileGivesTheWarningCode)
{
    const std::string locked = std::string(kSuite) + "\\util\\pays.dat";
    HANDLE h = CreateFileA(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    const DWORD code = RunProgram(Unattended());
    CloseHandle(h);
    EXPECT_EQ(code, kExitWarning);
    EXPECT_TRUE(EndsWith(Log(), kWarning));
    EXPECT_EQ(ReadFileOrMissing(locked), "old");
    EXPECT_EQ(ReadFileOrMissing(kMarker), "old");  // the marker is copied only after them all
}

TEST_F(UnattendedRun, ANewerInstalledMarkerIsKept)
{
    HANDLE h = CreateFileA(kMarker, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    SYSTEMTIME st{2035, 1, 1, 1, 8, 0, 0, 0};
    FILETIME later{};
    SystemTimeToFileTime(&st, &later);
    SetFileTime(h, nullptr, nullptr, &later);
    CloseHandle(h);

    EXPECT_EQ(RunProgram(Unattended()), kExitNot);
    const std::string log = Log();
    EXPECT_NE(log.find("est plus récent\r\nque celui qui est contenu dans cette mise à jour.\r\n"
                       "Voulez-vous installer un ancien fichier ?\r\nRéponse automatique : Non"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("Le fichier C:\\Quorvex5\\gs\\GS-00.int\r\nn'est pas remplacé !!!"),
              std::string::npos);
    EXPECT_TRUE(EndsWith(log, kNot));
    EXPECT_EQ(ReadFileOrMissing(kMarker), "old");
    EXPECT_EQ(ReadFileOrMissing(std::string(kSuite) + "\\util\\pays.dat"), "old");
}

TEST_F(UnattendedRun, SilentShowsTheReportInItsWindowAndClosesIt)
{
    WizardDriver program;
    program.Start(kProgram, SW_SHOWNORMAL, "/silent /suppressmsgboxes");
    HWND window = nullptr;
    ASSERT_AWAITED("the progress window", [&] {
        auto windows = program.TopLevelWindows(kProgressWindowClass);
        window = windows.empty() ? nullptr : windows.front();
        return window && IsWindowVisible(window);
    }, 20000);
    EXPECT_TRUE(program.TopLevelWindows(kMainWindowClass).empty()) << "no wizard pages";
    EXPECT_EQ(WizardDriver::Text(window), "Mise à jour Quorvex");
    EXPECT_EQ(WizardDriver::Text(GetDlgItem(window, kIdProgressTitle)), "Quorvex Finance");
    HWND viewer = GetDlgItem(window, kIdRichEditReport);
    EXPECT_TRUE(WaitUntil([&] { return WizardDriver::Text(viewer).find("Copie de ") != std::string::npos; },
                          kRunTimeoutMs))
        << "the report grows in the window";
    if (const char* folder = getenv("QV_SHOT_DIR"))
        WaitForScreenshot(folder, "silent-progress");
    EXPECT_EQ(program.WaitForExit(kRunTimeoutMs), kExitOk);
    EXPECT_EQ(Differing(), 0);

    // Without /SUPPRESSMSGBOXES the question is asked as usual.
    WizardDriver again;
    again.Start(kProgram, SW_SHOWNORMAL, "/SILENT");
    HWND box = again.WaitForMessageBox(60000);
    ASSERT_NE(box, nullptr);
    EXPECT_NE(WizardDriver::MessageBoxText(box).find("GS-00.int présent sur votre système est à jour."),
              std::string::npos);
    WizardDriver::Answer(box, IDNO);
    EXPECT_EQ(again.WaitForExit(60000), kExitNot);
    EXPECT_TRUE(again.TopLevelWindows(kProgressWindowClass).empty());
}

// What is refused, and /?: the box (or, answering by itself, only the
// exit code), and nothing touched.
TEST_F(UnattendedRun, HelpBadSwitchesAndAnUnwritableLog)
{
    const std::string noFolder = "C:\\no-such-folder-" + std::to_string(GetCurrentProcessId());
    struct Case {
        std::string arguments;
        const char* box;  // the start of its text, or null when none may show
        DWORD code;
    };
    const Case cases[] = {
        {"/?", "Paramètres de la ligne de commande :\r\n\r\n/SILENT : sans les pages", kExitOk},
        {"/VERYSILENT /?", "Paramètres de la ligne de commande :", kExitOk},
        {"/QUIET", "Paramètre de la ligne de commande incorrect : /QUIET\r\n\r\nParamètres",
         kExitBadCommandLine},
        {"/VERYSILENT /SUPPRESSMSGBOXES /LOG", nullptr, kExitBadCommandLine},
        {"/LOG=\"" + noFolder + "\\update.log\"",
         "Impossible de créer le fichier journal C:\\no-such-folder-", kExitLogNotCreated},
        {"/SILENT /SUPPRESSMSGBOXES /LOG=" + noFolder + "\\update.log", nullptr, kExitLogNotCreated},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        WizardDriver program;
        program.Start(kProgram, SW_SHOWNORMAL, c.arguments);
        if (c.box) {
            HWND box = program.WaitForMessageBox(20000);
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(WizardDriver::MessageBoxText(box).rfind(c.box, 0), 0u)
                << WizardDriver::MessageBoxText(box);
            EXPECT_TRUE(program.TopLevelWindows(kMainWindowClass).empty());
            WizardDriver::Answer(box, IDOK);
        }
        EXPECT_EQ(program.WaitForExit(20000), c.code);
        EXPECT_EQ(ReadFileOrMissing(kMarker), "old");
    }
    // The help names every switch.
    WizardDriver help;
    help.Start(kProgram, SW_SHOWNORMAL, "/?");
    HWND box = help.WaitForMessageBox(20000);
    ASSERT_NE(box, nullptr);
    const std::string text = WizardDriver::MessageBoxText(box);
    for (const char* name : {"/SILENT", "/VERYSILENT", "/SUPPRESSMSGBOXES", "/REPLACESAME", "/LOG=", "/?"})
        EXPECT_NE(text.find(name), std::string::npos) << name;
    WizardDriver::Answer(box, IDOK);
    EXPECT_EQ(help.WaitForExit(20000), kExitOk);
}

}  // namespace
}  // namespace qv::test
