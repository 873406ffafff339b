// Printing on a real printer: the real quorvex-update.exe prints the list
// of changes and a report of several pages through the printer dialog on
// the default printer Wine sees, a CUPS PDF queue (scripts/env/print-server.sh).
// Its PDF files, in the folder QV_PDF_OUT names, are read back with
// poppler's pdftotext and pdfinfo, run on the Linux host.
#include <gtest/gtest.h>
#include <windows.h>

#include <winspool.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "ControlIds.h"
#include "WizardDriver.h"

namespace fs = std::filesystem;

namespace qv::test {
namespace {

using namespace qv::wizard;

constexpr char kMarker[] = "C:\\Quorvex5\\gs\\GS-00.int";
constexpr char kRecordKey[] = "Software\\QUORVEX S.A.\\Quorvex Finance\\Program";

// The folder of the PDF files on the host, and as Wine reaches it.
std::string HostPdfFolder()
{
    const char* folder = std::getenv("QV_PDF_OUT");
    return folder ? folder : "";
}

std::string PdfFolder()
{
    std::string folder = "Z:" + HostPdfFolder();
    for (char& c : folder)
        if (c == '/')
            c = '\\';
    return folder;
}

std::set<std::string> PdfFiles()
{
    std::set<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((PdfFolder() + "\\*.pdf").c_str(), &found);
    if (h == INVALID_HANDLE_VALUE)
        return names;
    do
        names.insert(found.cFileName);
    while (FindNextFileA(h, &found));
    FindClose(h);
    return names;
}

std::string ReadFile(const std::string& path)
{
    std::string data;
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return data;
    DWORD size = GetFileSize(h, nullptr), read = 0;
    data.resize(size);
    ::ReadFile(h, data.data(), size, &read, nullptr);
    data.resize(read);
    CloseHandle(h);
    return data;
}

// Runs a command of the Linux host through its shell: Wine starts a Linux
// program as it is. The command holds no double quote. Wine cannot wait for
// a Linux process: the caller waits for the file the command makes last.
void StartOnHost(const std::string& command)
{
    std::string line = "/bin/sh -c \"" + command + "\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &si, &pi))
        << line;
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
}

// What a printed PDF holds: its title (the print job's name) and the text
// of each page.
struct PrintedDocument {
    std::string file;
    std::string title;
    int pages = 0;
    std::vector<std::string> pageTexts;  // UTF-8
};

PrintedDocument Read(const std::string& file)
{
    PrintedDocument doc;
    doc.file = file;
    const std::string host = HostPdfFolder() + "/" + file;
    StartOnHost("pdftotext -enc UTF-8 '" + host + "' '" + host + ".txt'; pdfinfo '" + host +
                "' > '" + host + ".part'; mv '" + host + ".part' '" + host + ".info'");
    const std::string wine = PdfFolder() + "\\" + file;
    EXPECT_TRUE(WaitUntil(
        [&] { return GetFileAttributesA((wine + ".info").c_str()) != INVALID_FILE_ATTRIBUTES; },
        60000))
        << "pdfinfo and pdftotext did not run on " << host;
    std::istringstream info(ReadFile(wine + ".info"));
    for (std::string line; std::getline(info, line);) {
        if (line.rfind("Title:", 0) == 0)
            doc.title = line.substr(line.find_first_not_of(' ', 6));
        if (line.rfind("Pages:", 0) == 0)
            doc.pages = std::atoi(line.c_str() + 6);
    }
    // pdftotext ends every page with a form feed.
    std::string text = ReadFile(wine + ".txt");
    for (size_t start = 0, end; (end = text.find('\f', start)) != std::string::npos; start = end + 1)
        doc.pageTexts.push_back(text.substr(start, end - start));
    DeleteFileA((wine + ".info").c_str());
    DeleteFileA((wine + ".txt").c_str());
    return doc;
}

// Waits for the printer to hand over new PDF files, and for them to be
// complete; returns the new names.
std::vector<std::string> WaitForNewPdfs(const std::set<std::string>& before, DWORD timeoutMs = 120000)
{
    std::vector<std::string> added;
    auto collect = [&] {
        added.clear();
        for (const auto& name : PdfFiles())
            if (!before.count(name))
                added.push_back(name);
        return !added.empty();
    };
    if (!WaitUntil(collect, timeoutMs))
        return added;
    // The PDF writer fills the file in place: wait until its size settles.
    for (const auto& name : added) {
        std::string path = PdfFolder() + "\\" + name;
        std::string last;
        WaitUntil(
            [&] {
                std::string now = ReadFile(path);
                bool settled = !now.empty() && now == last &&
                               now.find("%%EOF") != std::string::npos;
                last = std::move(now);
                return settled;
            },
            timeoutMs);
    }
    WaitUntil([] { return false; }, 1000);
    collect();
    return added;
}

// The words of a text, in order: the printer wraps lines at its own width.
std::vector<std::string> Words(const std::string& text)
{
    std::vector<std::string> words;
    std::istringstream in(text);
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}

std::string Utf8FromWindows(const std::string& text)
{
    int n = MultiByteToWideChar(1252, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring wide(n, L'\0');
    MultiByteToWideChar(1252, 0, text.data(), int(text.size()), wide.data(), n);
    int m = WideCharToMultiByte(CP_UTF8, 0, wide.data(), n, nullptr, 0, nullptr, nullptr);
    std::string utf8(m, '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), n, utf8.data(), m, nullptr, nullptr);
    return utf8;
}

class Printing : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(HostPdfFolder().empty()) << "QV_PDF_OUT names no folder";
        fs::remove_all("C:\\Quorvex5");
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\QUORVEX S.A.");
    }
    void TearDown() override
    {
        fs::remove_all("C:\\Quorvex5");
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\QUORVEX S.A.");
    }

    // Presses the page's print button and answers the printer dialog.
    static void Print(WizardDriver& wizard, int answer)
    {
        wizard.Press(kIdSpeedButtonPrint);
        HWND dialog = wizard.WaitForMessageBox(30000);
        ASSERT_NE(dialog, nullptr) << "no printer dialog";
        WizardDriver::Answer(dialog, answer);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, 30000));
    }

    // The document printed: one new PDF, named after the job.
    static PrintedDocument ExpectPrinted(const std::set<std::string>& before, const std::string& job)
    {
        std::vector<std::string> added = WaitForNewPdfs(before);
        EXPECT_EQ(added.size(), 1u);
        if (added.empty())
            return {};
        PrintedDocument doc = Read(added.back());
        EXPECT_EQ(doc.title, job);
        EXPECT_EQ(int(doc.pageTexts.size()), doc.pages);
        return doc;
    }

    // It holds the viewer's text page after page, no page empty.
    static void ExpectText(const PrintedDocument& doc, const std::string& viewerText)
    {
        std::vector<std::string> printed;
        for (size_t i = 0; i < doc.pageTexts.size(); ++i) {
            auto words = Words(doc.pageTexts[i]);
            EXPECT_FALSE(words.empty()) << "page " << i + 1 << " of " << doc.file << " is empty";
            printed.insert(printed.end(), words.begin(), words.end());
        }
        EXPECT_EQ(printed, Words(Utf8FromWindows(viewerText))) << doc.file;
    }
};

// The list of changes: a cancelled dialog prints nothing; then it prints as
// the job "La liste des modifications".
TEST_F(Printing, TheListOfChangesPrintsAsItsJobAndACancelledDialogPrintsNothing)
{
    WizardDriver wizard;
    wizard.Start("quorvex-update.exe");
    ASSERT_TRUE(wizard.WaitForWelcome());
    ASSERT_TRUE(wizard.NextTo(kChangesPageClass));
    const std::string text = WizardDriver::Text(wizard.Control(kIdRichEditFile));
    ASSERT_GT(Words(text).size(), 3u);

    const auto before = PdfFiles();
    Print(wizard, IDCANCEL);
    Print(wizard, IDOK);
    // Jobs are printed in order: had the cancelled dialog printed, its file
    // would come too.
    PrintedDocument doc = ExpectPrinted(before, "La liste des modifications");
    EXPECT_GE(doc.pages, 1);
    EXPECT_EQ(wizard.CurrentPage(), kChangesPageClass);

    wizard.Press(kIdButtonCancel);
    if (HWND box = wizard.WaitForMessageBox())
        WizardDriver::Answer(box, IDYES);
    EXPECT_NE(wizard.WaitForExit(60000), DWORD(STILL_ACTIVE));

    ExpectText(doc, text);
}

// The report of a whole update (two lines per file) fills several pages;
// it prints as the job "Update report", page after page.
TEST_F(Printing, AReportOfSeveralPagesPrintsPageAfterPage)
{
    // An installation older than the package: only its marker, from 2019.
    fs::create_directories("C:\\Quorvex5\\gs");
    HANDLE h = CreateFileA(kMarker, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    FILETIME old{};
    SYSTEMTIME st{2019, 3, 5, 1, 8, 0, 0, 0};
    SystemTimeToFileTime(&st, &old);
    DWORD written = 0;
    WriteFile(h, "old", 3, &written, nullptr);
    SetFileTime(h, nullptr, nullptr, &old);
    CloseHandle(h);
    RegSetKeyValueA(HKEY_CURRENT_USER, kRecordKey, "Filename", REG_SZ, kMarker, sizeof kMarker);

    WizardDriver wizard;
    wizard.Start("quorvex-update.exe");
    ASSERT_TRUE(wizard.WaitForWelcome());
    ASSERT_TRUE(wizard.NextTo(kChangesPageClass));
    wizard.Press(kIdButtonNext);
    ASSERT_TRUE(WaitUntil(
        [&] {
            return wizard.IsEnabled(kIdButtonNext) && wizard.ControlText(kIdButtonNext) == "Quitter";
        },
        10 * 60 * 1000));
    const std::string report = WizardDriver::Text(wizard.Control(kIdRichEditReport));
    ASSERT_GT(std::count(report.begin(), report.end(), '\n'), 400);

    const auto before = PdfFiles();
    Print(wizard, IDOK);
    PrintedDocument doc = ExpectPrinted(before, "Update report");
    wizard.Press(kIdButtonNext);
    EXPECT_NE(wizard.WaitForExit(60000), DWORD(STILL_ACTIVE));

    ExpectText(doc, report);
    EXPECT_GE(doc.pages, 2);
    // The first page begins with the header line, the last ends with the
    // result line.
    const auto words = Words(Utf8FromWindows(report));
    if (!doc.pageTexts.empty() && !words.empty()) {
        EXPECT_EQ(doc.pageTexts.front().rfind(Utf8FromWindows("Mise à jour : Quorvex Finance"), 0), 0u)
            << doc.pageTexts.front().substr(0, 80);
        const auto last = Words(doc.pageTexts.back());
        EXPECT_TRUE(!last.empty() && last.back() == words.back());
    }
}

}  // namespace
}  // namespace qv::test
