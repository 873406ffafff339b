// Faults on the real program: quorvex-update-faults.exe (a Quorvex Finance
// update of a few hundred small files) run unattended on an older
// installation, once on a drive that fills up part-way through the run, once
// killed part-way through; then run again. Whatever happened, no installed
// file may be left cut, the marker is copied only once every file is in
// place, and a run leaves no temporary file behind but, when killed, the
// one it was using.
//
// Run by scripts/env/small-drive-run.sh in a prefix of its own whose Q: is a
// small RAM disk; without it (mount refused), the disk-full case is skipped
// with the reason.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "BoundedWait.h"
#include "WizardDriver.h"
#include "WizardRun.h"

namespace fs = std::filesystem;

namespace qv::test {
namespace {

constexpr char kProgram[] = "quorvex-update-faults.exe";
const std::string kPackage = QV_FAULT_PACKAGE_DIR;
constexpr char kMarkerName[] = "gs\\GS-00.int";
constexpr char kRecordKey[] = "Software\\QUORVEX S.A.\\Quorvex Finance\\Program";
constexpr char kProductKey[] = "Software\\QUORVEX S.A.\\Quorvex Finance";
constexpr char kOld[] = "old";
// A run of this package takes seconds; a run that has not ended by then
// hangs, and fails the test rather than the suite's time-out.
constexpr DWORD kRunBoundMs = 3 * 60 * 1000;
// A RAM disk counts whole pages: an old file takes one, a packaged one two.
constexpr ULONGLONG kPage = 4096;

enum : DWORD { kExitOk = 0 };

// The files the package lists (its FileNames.txt).
std::vector<std::string> ListedFiles()
{
    std::ifstream in(fs::path(kPackage) / "FileNames.txt", std::ios::binary);
    std::vector<std::string> names;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty())
            names.push_back(line);
    }
    return names;
}

std::uint64_t WriteTimeOf(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return (std::uint64_t(data.ftLastWriteTime.dwHighDateTime) << 32) |
           data.ftLastWriteTime.dwLowDateTime;
}

// A file another process is still writing (the log of a running program).
std::string ReadShared(const std::string& path)
{
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return {};
    std::string bytes;
    char buffer[65536];
    DWORD count = 0;
    while (ReadFile(h, buffer, sizeof buffer, &count, nullptr) && count > 0)
        bytes.append(buffer, count);
    CloseHandle(h);
    return bytes;
}

int Occurrences(const std::string& text, const std::string& what)
{
    int n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

// The non-empty lines of a text.
std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos)
            end = text.size();
        if (end > start)
            lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

// The system's own text for an error, as the program reads it.
std::string SystemReason(DWORD code)
{
    char text[512] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                   text, sizeof text, nullptr);
    std::string reason = text;
    while (!reason.empty() && (reason.back() == '\r' || reason.back() == '\n' ||
                               reason.back() == ' ' || reason.back() == '.'))
        reason.pop_back();
    return reason;
}

class FaultInjection : public ::testing::Test {
protected:
    void TearDown() override
    {
        if (!suite_.empty()) {
            std::error_code ignored;
            fs::remove_all(suite_, ignored);
        }
        RegDeleteTreeA(HKEY_CURRENT_USER, kProductKey);
    }

    // The older installation in folder (every listed file and the marker
    // holding "old", dated 1 March 2019) and its record.
    void LayOutOlderInstallation(const std::string& folder)
    {
        suite_ = folder;
        std::error_code ignored;
        fs::remove_all(suite_, ignored);
        ASSERT_TRUE(fs::create_directories(suite_ + "\\gs")) << suite_;
        FILETIME old{};
        SYSTEMTIME st{2019, 3, 5, 1, 8, 0, 0, 0};
        SystemTimeToFileTime(&st, &old);
        std::vector<std::string> names = listed_;
        names.push_back(kMarkerName);
        for (const std::string& name : names) {
            const std::string path = Installed(name);
            HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
            ASSERT_NE(h, INVALID_HANDLE_VALUE) << path;
            DWORD written = 0;
            const bool ok = WriteFile(h, kOld, sizeof kOld - 1, &written, nullptr) &&
                            SetFileTime(h, nullptr, nullptr, &old);
            CloseHandle(h);
            ASSERT_TRUE(ok) << path;
        }
        const std::string marker = Installed(kMarkerName);
        ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, kRecordKey, "Filename", REG_SZ,
                                  marker.c_str(), DWORD(marker.size() + 1)),
                  ERROR_SUCCESS);
    }

    std::string Installed(const std::string& name) const { return suite_ + "\\" + name; }
    std::string Packaged(const std::string& name) const { return kPackage + "\\" + name; }
    std::string LogPath() const { return temporary_.Path() + "\\update.log"; }

    enum class State { Old, Packaged, Other };
    State StateOf(const std::string& name) const
    {
        const std::string bytes = ReadFileOrMissing(Installed(name));
        if (bytes == kOld)
            return State::Old;
        if (bytes == ReadFileOrMissing(Packaged(name)) &&
            WriteTimeOf(Installed(name)) == WriteTimeOf(Packaged(name)))
            return State::Packaged;
        return State::Other;
    }

    // The listed files in each state; the names of those in neither.
    struct Census {
        int old = 0, packaged = 0;
        std::vector<std::string> other;
    };
    Census TakeCensus() const
    {
        Census census;
        for (const std::string& name : listed_) {
            switch (StateOf(name)) {
            case State::Old: ++census.old; break;
            case State::Packaged: ++census.packaged; break;
            case State::Other: census.other.push_back(name); break;
            }
        }
        return census;
    }

    // Starts the program unattended, without any display, logging to
    // LogPath(); its temporary files go to this test's temporary folder.
    PROCESS_INFORMATION Start()
    {
        const std::string path = TestProgramFolder() + kProgram;
        std::string command =
            "\"" + path + "\" /VERYSILENT /SUPPRESSMSGBOXES /LOG=\"" + LogPath() + "\"";
        char saved[256] = {};
        const bool hadDisplay = GetEnvironmentVariableA("DISPLAY", saved, sizeof saved) > 0;
        SetEnvironmentVariableA("DISPLAY", nullptr);
        STARTUPINFOA si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        const BOOL started = CreateProcessA(path.c_str(), command.data(), nullptr, nullptr, FALSE,
                                            0, nullptr, TestProgramFolder().c_str(), &si, &pi);
        if (hadDisplay)
            SetEnvironmentVariableA("DISPLAY", saved);
        EXPECT_TRUE(started) << path << ": error " << GetLastError();
        return pi;
    }

    // Waits for the end of a started run within the bound; a run that
    // outlives it is ended and fails the test. Its exit code.
    DWORD Finish(PROCESS_INFORMATION& pi)
    {
        DWORD code = STILL_ACTIVE;
        if (!pi.hProcess)
            return code;
        if (WaitForSingleObject(pi.hProcess, kRunBoundMs) == WAIT_OBJECT_0) {
            GetExitCodeProcess(pi.hProcess, &code);
        } else {
            ADD_FAILURE() << "the run did not end within " << kRunBoundMs / 1000 << " s";
            TerminateProcess(pi.hProcess, 99);
            WaitForSingleObject(pi.hProcess, 10000);
        }
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        pi = {};
        return code;
    }

    DWORD Run()
    {
        PROCESS_INFORMATION pi = Start();
        return Finish(pi);
    }

    // The log, in the test's Windows-1252.
    std::string Log() const
    {
        std::string bytes = ReadShared(LogPath());
        if (bytes.rfind("\xEF\xBB\xBF", 0) == 0)
            bytes.erase(0, 3);
        return Cp1252FromUtf8(bytes);
    }

    // The Update*.tmp files in this test's temporary folder.
    std::vector<std::string> TemporaryFiles() const
    {
        std::vector<std::string> found;
        for (const auto& item : fs::directory_iterator(temporary_.Path())) {
            const std::string name = item.path().filename().string();
            if (name.rfind("Update", 0) == 0 && name.size() > 4 &&
                name.compare(name.size() - 4, 4, ".tmp") == 0)
                found.push_back(item.path().string());
        }
        return found;
    }

    // A run that had room: ended well, every file and the marker as
    // packaged, the marker copied after every listed file.
    void ExpectCompleteRun(DWORD code)
    {
        EXPECT_EQ(code, kExitOk);
        const Census census = TakeCensus();
        EXPECT_EQ(census.packaged, int(listed_.size()));
        EXPECT_TRUE(census.other.empty()) << census.other.front();
        EXPECT_EQ(StateOf(kMarkerName), State::Packaged);
        const std::string log = Log();
        EXPECT_TRUE(EndsWith(log, kOk)) << log.substr(log.size() > 400 ? log.size() - 400 : 0);
        const std::string lastTarget = log.substr(log.rfind("vers "));
        EXPECT_EQ(lastTarget.rfind("vers " + Installed(kMarkerName) + "\r\n", 0), 0u)
            << "the last copy is not the marker's: " << lastTarget.substr(0, 200);
        EXPECT_EQ(Occurrences(log, "Copie de "), int(listed_.size()) + 1);
    }

    const std::vector<std::string> listed_ = ListedFiles();
    std::string suite_;
    OwnTemporaryFolder temporary_{"qv-faults"};
};

// The drive of the installation fills up part-way through the run.
TEST_F(FaultInjection, ADriveThatFillsUpLosesNothingAndTheNextRunCompletes)
{
    const char* drive = std::getenv("QV_SMALL_DRIVE");
    if (!drive) {
        const char* refused = std::getenv("QV_SMALL_DRIVE_REFUSED");
        GTEST_SKIP() << "no small drive: "
                     << (refused ? refused : "run through scripts/env/small-drive-run.sh");
    }
    const std::string root = std::string(drive) + "\\";
    ASSERT_NO_FATAL_FAILURE(LayOutOlderInstallation(root + "Quorvex5"));

    // A filler leaves room for about a third of the packaged files: each
    // takes one page more than the old file it replaces.
    ULARGE_INTEGER available{}, total{}, free{};
    ASSERT_TRUE(GetDiskFreeSpaceExA(root.c_str(), &available, &total, &free));
    const ULONGLONG room = kPage * (listed_.size() / 3);
    ASSERT_GT(available.QuadPart, room + 16 * kPage) << "the small drive is too small";
    const std::string filler = root + "filler.bin";
    {
        HANDLE h = CreateFileA(filler.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        const std::string block(kPage * 16, 'f');
        ULONGLONG left = available.QuadPart - room;
        bool ok = true;
        while (ok && left > 0) {
            DWORD part = DWORD(left < block.size() ? left : block.size()), written = 0;
            ok = WriteFile(h, block.data(), part, &written, nullptr) && written == part;
            left -= part;
        }
        CloseHandle(h);
        ASSERT_TRUE(ok) << "the filler could not be written";
    }

    const DWORD code = Run();
    EXPECT_NE(code, kExitOk);
    EXPECT_NE(code, DWORD(STILL_ACTIVE));
    Census census = TakeCensus();
    EXPECT_TRUE(census.other.empty())
        << census.other.size() << " files neither old nor packaged (cut?), first "
        << Installed(census.other.front()) << ": "
        << ReadFileOrMissing(Installed(census.other.front())).size() << " bytes";
    EXPECT_GT(census.packaged, 0) << "the drive was full from the start";
    EXPECT_GT(census.old, 0) << "no file kept its old bytes: the drive never filled up, or "
                                "every file after it did was lost";
    EXPECT_EQ(ReadFileOrMissing(Installed(kMarkerName)), kOld);

    // The log says which copy failed and why, in the system's words: a line
    // just before the reason (or the reason's own), other than the copy
    // lines, names a file left unreplaced.
    const std::vector<std::string> lines = Lines(Log());
    const std::string reason = SystemReason(ERROR_DISK_FULL);
    std::size_t at = 0;
    while (at < lines.size() && lines[at].find(reason) == std::string::npos)
        ++at;
    if (at == lines.size()) {
        std::string end;
        for (std::size_t i = lines.size() > 4 ? lines.size() - 4 : 0; i < lines.size(); ++i)
            end += lines[i] + "\n";
        ADD_FAILURE() << "no \"" << reason << "\" in the log; its last lines:\n" << end;
    } else {
        std::string told;
        for (std::size_t i = at > 3 ? at - 3 : 0; i <= at; ++i)
            if (lines[i].rfind("Copie de ", 0) != 0 && lines[i].rfind("vers ", 0) != 0)
                told += lines[i] + "\n";
        bool namesAFailedFile = false;
        for (const std::string& name : listed_)
            namesAFailedFile |= told.find(Installed(name)) != std::string::npos &&
                                StateOf(name) != State::Packaged;
        EXPECT_TRUE(namesAFailedFile) << told;
    }
    EXPECT_EQ(TemporaryFiles().size(), 0u);
    // A copy that failed took its part-made file beside the installed one
    // away with it.
    std::vector<std::string> partMade;
    for (const auto& item : fs::recursive_directory_iterator(suite_))
        if (item.path().string().find(".new") != std::string::npos)
            partMade.push_back(item.path().string());
    EXPECT_TRUE(partMade.empty()) << partMade.size() << ", first " << partMade.front();

    // With room again, the next run installs everything, the marker last.
    ASSERT_TRUE(DeleteFileA(filler.c_str()));
    ExpectCompleteRun(Run());
    EXPECT_EQ(TemporaryFiles().size(), 0u);
}

// A run killed after some hundred copies; the next run completes.
TEST_F(FaultInjection, ARunKilledPartWayLeavesOnlyTheTemporaryFileInUseAndTheNextRunCompletes)
{
    ASSERT_NO_FATAL_FAILURE(LayOutOlderInstallation("C:\\QvFaults\\Quorvex5"));
    const int killAfter = int(listed_.size()) / 2;
    ASSERT_GE(killAfter, 100);

    PROCESS_INFORMATION pi = Start();
    ASSERT_NE(pi.hProcess, nullptr);
    const bool reached = WaitUntil(
        [&] {
            return Occurrences(Log(), "Copie de ") >= killAfter ||
                   WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0;
        },
        kRunBoundMs);
    const bool running = WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT;
    if (running)
        TerminateProcess(pi.hProcess, 99);
    const DWORD code = Finish(pi);
    ASSERT_TRUE(reached) << "fewer than " << killAfter << " copies within " << kRunBoundMs / 1000
                         << " s";
    ASSERT_TRUE(running) << "the run ended by itself (code " << code << ") before it was killed";
    const int copies = Occurrences(Log(), "Copie de ");
    ASSERT_LT(copies, int(listed_.size())) << "killed too late to show anything";

    EXPECT_EQ(ReadFileOrMissing(Installed(kMarkerName)), kOld);
    // What the killed run may leave: the file it was copying; nothing of the
    // copies done before.
    const std::vector<std::string> left = TemporaryFiles();
    EXPECT_LE(left.size(), 1u) << "after " << copies << " copies";

    // The next run completes and leaves nothing of its own.
    ExpectCompleteRun(Run());
    EXPECT_LE(TemporaryFiles().size(), left.size());
}

}  // namespace
}  // namespace qv::test
