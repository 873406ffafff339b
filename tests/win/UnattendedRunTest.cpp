// The update rolled out without anybody at the keyboard: the real
// quorvex-update.exe with its switches on a Quorvex Finance installation
// older than the package, its exit codes and its log file; and the switches
// it refuses.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <thread>
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
    kExitNoKnownProduct = 5,
    kExitBadCommandLine = 8,
    kExitLogNotCreated = 9,
    kExitLogIncomplete = 10,
};

// The test's Windows-1252 text in UTF-16, as Windows would read it.
std::wstring Wide(const std::string& text)
{
    std::wstring wide(text.size(), L'\0');
    const int n = MultiByteToWideChar(1252, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                                      static_cast<int>(wide.size()));
    wide.resize(n > 0 ? n : 0);
    return wide;
}

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
        return RunProgramW(Wide(arguments), display);
    }

    // The same with a command line in Unicode; desktop: the window station
    // and desktop to start it in ("station\\desktop"), or null for ours.
    DWORD RunProgramW(const std::wstring& arguments, bool display = false,
                      const wchar_t* desktop = nullptr, const char* program = kProgram,
                      DWORD timeoutMs = kRunTimeoutMs)
    {
        const std::wstring widePath = Wide(TestProgramFolder() + program);
        std::wstring command = L"\"" + widePath + L"\" " + arguments;
        const std::wstring wideFolder = Wide(TestProgramFolder());
        char saved[256] = {};
        const bool hadDisplay = GetEnvironmentVariableA("DISPLAY", saved, sizeof saved) > 0;
        if (!display)
            SetEnvironmentVariableA("DISPLAY", nullptr);
        std::wstring desktopName = desktop ? desktop : L"";
        STARTUPINFOW si{};
        si.cb = sizeof si;
        si.lpDesktop = desktop ? desktopName.data() : nullptr;
        PROCESS_INFORMATION pi{};
        const BOOL started = CreateProcessW(widePath.c_str(), command.data(), nullptr, nullptr, FALSE,
                                            0, nullptr, wideFolder.c_str(), &si, &pi);
        if (hadDisplay)
            SetEnvironmentVariableA("DISPLAY", saved);
        if (!started)
            return STILL_ACTIVE;
        DWORD code = STILL_ACTIVE;
        if (WaitForSingleObject(pi.hProcess, timeoutMs) == WAIT_OBJECT_0)
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
    // The end of the Windows session is refused while the run works: it
    // would cut a file copy in half.
    DWORD_PTR endSession = TRUE;
    ASSERT_TRUE(SendMessageTimeoutA(window, WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, 10000,
                                    &endSession));
    EXPECT_EQ(endSession, static_cast<DWORD_PTR>(FALSE)) << "the session may end during the run";
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
        // Suppression asked anywhere, however the line is written: no box.
        {"/VERYSILENT /SUPPRESSMSGBOXES /?", nullptr, kExitOk},
        {"-VERYSILENT -SUPPRESSMSGBOXES", nullptr, kExitBadCommandLine},
        {"/VERYSILENT/SUPPRESSMSGBOXES", nullptr, kExitBadCommandLine},
        {"/SUPPRESSMSGBOXES /LOG=" + noFolder + "\\update.log", nullptr, kExitLogNotCreated},
        // A quote left open: nothing after it is taken for a path.
        {"/VERYSILENT /SUPPRESSMSGBOXES /LOG=\"" + noFolder + "\\update.log", nullptr,
         kExitBadCommandLine},
        {"/LOG=\"C:\\update.log /SILENT",
         "Paramètre de la ligne de commande incorrect : /LOG=\"C:\\update.log /SILENT\r\n",
         kExitBadCommandLine},
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

// A refused line with a log named: the log carries what the box would have
// said. A relative log path is made in the current folder, and the log
// names the full path it became.
TEST_F(UnattendedRun, TheLogCarriesARefusedLineAndItsFullPath)
{
    EXPECT_EQ(RunProgram("/SUPPRESSMSGBOXES /QUIET " + std::string("/LOG=\"") + LogPath() + "\""),
              kExitBadCommandLine);
    std::string log = Log();
    EXPECT_EQ(log.rfind("Paramètre de la ligne de commande incorrect : /QUIET\r\n", 0), 0u) << log;
    EXPECT_TRUE(EndsWith(log, kKo)) << log;

    const std::string relative = "journal-relatif-" + std::to_string(GetCurrentProcessId()) + ".log";
    const std::string full = TestProgramFolder() + relative;
    EXPECT_EQ(RunProgram("/VERYSILENT /SUPPRESSMSGBOXES /LOG=" + relative), kExitOk);
    const std::string bytes = ReadFileOrMissing(full);
    DeleteFileA(full.c_str());
    ASSERT_EQ(bytes.rfind(kBom, 0), 0u) << bytes.substr(0, 100);
    log = Cp1252FromUtf8(bytes.substr(3));
    EXPECT_EQ(log.rfind("Fichier journal : " + full + "\r\nMise à jour : Quorvex Finance", 0), 0u)
        << log.substr(0, 300);
    EXPECT_TRUE(EndsWith(log, kOk));
}

// The command line is read in Unicode: a log path with accents is the file
// named so; one with a character Windows-1252 lacks is a bad command line,
// never another file's name.
TEST_F(UnattendedRun, ALogPathIsReadInUnicode)
{
    const std::wstring folder = Wide(temporary_->Path());
    EXPECT_EQ(RunProgramW(L"/VERYSILENT /SUPPRESSMSGBOXES /LOG=\"" + folder + L"\\\u00e9t\u00e9 \u20ac.log\""),
              kExitOk);
    EXPECT_NE(ReadFileOrMissing(temporary_->Path() + "\\\xE9t\xE9 \x80.log"), "<missing>");
    EXPECT_EQ(RunProgramW(L"/VERYSILENT /SUPPRESSMSGBOXES /LOG=\"" + folder + L"\\\u65e5\u672c.log\""),
              kExitBadCommandLine);
    EXPECT_EQ(ReadFileOrMissing(temporary_->Path() + "\\??.log"), "<missing>");
}

// On a window station nobody sees (a service's), no box waits: /? and a bad
// line end at once with their code.
TEST_F(UnattendedRun, NoBoxWithoutAnInteractiveDesktop)
{
    const std::wstring desktop = L"QvNoUser" + std::to_wstring(GetCurrentProcessId()) + L"\\Default";
    EXPECT_EQ(RunProgramW(L"/?", true, desktop.c_str(), kProgram, 30000), kExitOk);
    EXPECT_EQ(RunProgramW(L"/QUIET", true, desktop.c_str(), kProgram, 30000), kExitBadCommandLine);
    EXPECT_EQ(ReadFileOrMissing(kMarker), "old");
}

// Endings before any update procedure write their reason and the failure
// line into the log: a package naming no known product, an unreadable
// company file.
TEST_F(UnattendedRun, EndingsOutsideTheProceduresAreLogged)
{
    EXPECT_EQ(RunProgramW(L"/VERYSILENT /SUPPRESSMSGBOXES /LOG=\"" + Wide(LogPath()) + L"\"",
                          false, nullptr, "quorvex-update-empty.exe"),
              kExitNoKnownProduct);
    std::string log = Log();
    EXPECT_NE(log.find("aucun produit connu"), std::string::npos) << log;
    EXPECT_TRUE(EndsWith(log, kKo)) << log;

    if (GetFileAttributesA("C:\\quorvex") != INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "C:\\quorvex belongs to this prefix already";
    ASSERT_TRUE(CreateDirectoryA("C:\\quorvex", nullptr));
    const char companies[] = "C:\\quorvex\\multiste.txt";
    HANDLE file = CreateFileA(companies, GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    const DWORD code = RunProgram(Unattended());  // the file held by nobody else's share
    CloseHandle(file);
    DeleteFileA(companies);
    RemoveDirectoryA("C:\\quorvex");
    EXPECT_EQ(code, kExitRunFailed);
    log = Log();
    EXPECT_GT(log.size(), std::string(kKo).size() + 2) << "a reason before the failure line";
    EXPECT_TRUE(EndsWith(log, kKo)) << log;
    EXPECT_EQ(ReadFileOrMissing(kMarker), "old");
}

// A log that stops being writable part-way (a share gone, a full disk) is
// not ignored: the run ends with its own code. Here the log is a pipe the
// test closes after the first lines.
TEST_F(UnattendedRun, ALogThatFailsPartWayEndsWithItsCode)
{
    const std::string pipe = "\\\\.\\pipe\\qv-log-" + std::to_string(GetCurrentProcessId());
    HANDLE server = CreateNamedPipeA(pipe.c_str(), PIPE_ACCESS_INBOUND, PIPE_TYPE_BYTE | PIPE_WAIT, 1,
                                     65536, 65536, 0, nullptr);
    ASSERT_NE(server, INVALID_HANDLE_VALUE);
    std::string read;
    std::thread reader([&] {
        if (!ConnectNamedPipe(server, nullptr) && GetLastError() != ERROR_PIPE_CONNECTED)
            return;
        char buffer[512];
        DWORD n = 0;
        while (read.find("Copie de ") == std::string::npos &&
               ReadFile(server, buffer, sizeof buffer, &n, nullptr) && n > 0)
            read.append(buffer, n);
        CloseHandle(server);  // gone, as a share may go
    });
    const DWORD code = RunProgram("/VERYSILENT /SUPPRESSMSGBOXES /LOG=" + pipe);
    reader.join();
    EXPECT_NE(read.find("Copie de "), std::string::npos) << read;
    EXPECT_EQ(code, kExitLogIncomplete);
    EXPECT_EQ(Differing(), 0) << "the update itself is not cut short";
}

// A log path that is a link, or lies in a folder that is one, would write
// the log (as the administrator running the update) wherever the link
// points: refused, nothing written there.
TEST_F(UnattendedRun, ALogPathThroughALinkIsRefused)
{
    const std::string folder = temporary_->Path();
    const std::string victim = folder + "\\victim.txt";
    HANDLE h = CreateFileA(victim.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(h, "victim", 6, &written, nullptr);
    CloseHandle(h);
    const std::string fileLink = folder + "\\link.log";
    const std::string realFolder = folder + "\\real";
    const std::string folderLink = folder + "\\linked";
    ASSERT_TRUE(CreateDirectoryA(realFolder.c_str(), nullptr));
    if (!CreateSymbolicLinkA(fileLink.c_str(), victim.c_str(), SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE) ||
        !CreateSymbolicLinkA(folderLink.c_str(), realFolder.c_str(),
                             SYMBOLIC_LINK_FLAG_DIRECTORY | SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE))
        GTEST_SKIP() << "no symbolic links here: " << GetLastError();
    for (const std::string& link : {fileLink, folderLink}) {
        const DWORD attributes = GetFileAttributesA(link.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
            GTEST_SKIP() << "this system shows no link as a reparse point (Wine 8 does not)";
    }

    EXPECT_EQ(RunProgram("/VERYSILENT /SUPPRESSMSGBOXES /LOG=\"" + fileLink + "\""), kExitLogNotCreated);
    EXPECT_EQ(ReadFileOrMissing(victim), "victim");
    EXPECT_EQ(RunProgram("/VERYSILENT /SUPPRESSMSGBOXES /LOG=\"" + folderLink + "\\x.log\""),
              kExitLogNotCreated);
    EXPECT_EQ(ReadFileOrMissing(realFolder + "\\x.log"), "<missing>");
    EXPECT_EQ(ReadFileOrMissing(kMarker), "old");
    RemoveDirectoryA(folderLink.c_str());
    DeleteFileA(fileLink.c_str());
}

}  // namespace
}  // namespace qv::test
