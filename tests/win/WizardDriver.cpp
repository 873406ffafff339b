#include "WizardDriver.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "ControlIds.h"

namespace qv::test {

std::string ReadFileOrMissing(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return "<missing>";
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string TestProgramFolder()
{
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s(path);
    return s.substr(0, s.find_last_of('\\') + 1);
}

WizardDriver::~WizardDriver()
{
    if (pi_.hProcess) {
        if (::WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT) {
            ::TerminateProcess(pi_.hProcess, 99);
            ::WaitForSingleObject(pi_.hProcess, 5000);
        }
        ::CloseHandle(pi_.hProcess);
        ::CloseHandle(pi_.hThread);
    }
}

void WizardDriver::Start(const std::string& exeName, int showCommand,
                         const std::string& arguments)
{
    std::string path = TestProgramFolder() + exeName;
    std::string command = "\"" + path + "\"";
    if (!arguments.empty())
        command += " " + arguments;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = static_cast<WORD>(showCommand);
    if (!::CreateProcessA(path.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          TestProgramFolder().c_str(), &si, &pi_))
        throw std::runtime_error("cannot start " + path);
}

namespace {

struct WindowSearch {
    DWORD pid;
    const char* cls;
    std::vector<HWND> found;
};

// Enumeration callbacks are called by Windows: WINAPI, or the 32-bit
// build's stack is wrong after the first call.
BOOL CALLBACK CollectTopLevelWindow(HWND h, LPARAM lp)
{
    auto* s = reinterpret_cast<WindowSearch*>(lp);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(h, &pid);
    char cls[64] = {};
    ::GetClassNameA(h, cls, sizeof cls);
    if (pid == s->pid && lstrcmpA(cls, s->cls) == 0)
        s->found.push_back(h);
    return TRUE;
}

struct ControlSearch {
    int id;
    HWND found;
};

BOOL CALLBACK FindControlById(HWND h, LPARAM lp)
{
    auto* s = reinterpret_cast<ControlSearch*>(lp);
    if (::GetDlgCtrlID(h) == s->id) {
        s->found = h;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

std::vector<HWND> WizardDriver::TopLevelWindows(const char* className) const
{
    WindowSearch search{pi_.dwProcessId, className, {}};
    ::EnumWindows(CollectTopLevelWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool WizardDriver::WaitForWelcome()
{
    bool found = WaitUntil([&] {
        auto windows = TopLevelWindows(wizard::kMainWindowClass);
        for (HWND h : windows)
            if (::IsWindowVisible(h))
                main_ = h;
        return main_ != nullptr;
    }, 20000);
    return found && WaitForPage(wizard::kWelcomePageClass);
}

HWND WizardDriver::Control(int id) const
{
    ControlSearch search{id, nullptr};
    ::EnumChildWindows(main_, FindControlById, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string WizardDriver::Text(HWND window)
{
    if (!window)
        return "<no window>";
    DWORD_PTR length = 0;
    ::SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length);
    std::string text(length + 1, '\0');
    DWORD_PTR got = 0;
    ::SendMessageTimeoutA(window, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()),
                          SMTO_ABORTIFHUNG, 5000, &got);
    text.resize(got);
    return text;
}

bool WizardDriver::IsEnabled(int id) const
{
    HWND h = Control(id);
    return h && ::IsWindowEnabled(h);
}

std::string WizardDriver::CurrentPage() const
{
    HWND panel = Control(wizard::kIdPagePanel);
    for (HWND c = ::GetWindow(panel, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
        if (::IsWindowVisible(c)) {
            char cls[64] = {};
            ::GetClassNameA(c, cls, sizeof cls);
            return cls;
        }
    }
    return "";
}

bool WizardDriver::WaitForPage(const std::string& pageClass)
{
    return WaitUntil([&] { return CurrentPage() == pageClass; });
}

void WizardDriver::Press(int id)
{
    ::PostMessageA(Control(id), BM_CLICK, 0, 0);
}

HWND WizardDriver::Focus() const
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!main_ || !::GetGUIThreadInfo(::GetWindowThreadProcessId(main_, nullptr), &info))
        return nullptr;
    return info.hwndFocus;
}

void WizardDriver::Key(UINT virtualKey, HWND target) const
{
    if (!target) {
        // A key posted before the wizard has taken the focus would be lost
        // on the bare window: wait for the focus first.
        WaitUntil([&] { return Focus() != nullptr; }, 5000);
        target = Focus() ? Focus() : main_;
    }
    const UINT scan = ::MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC);
    ::PostMessageA(target, WM_KEYDOWN, virtualKey, 1 | (scan << 16));
    ::PostMessageA(target, WM_KEYUP, virtualKey, 1 | (scan << 16) | 0xC0000000u);
}

bool WizardDriver::NextTo(const std::string& pageClass)
{
    // The wizard enables Next when it next becomes idle.
    if (!WaitUntil([&] { return IsEnabled(wizard::kIdButtonNext); }))
        return false;
    Press(wizard::kIdButtonNext);
    return WaitForPage(pageClass);
}

HWND WizardDriver::FindMessageBox() const
{
    for (HWND h : TopLevelWindows("#32770"))
        if (::IsWindowVisible(h))
            return h;
    return nullptr;
}

HWND WizardDriver::WaitForMessageBox(DWORD timeoutMs) const
{
    HWND box = nullptr;
    WaitUntil([&] { return (box = FindMessageBox()) != nullptr; }, timeoutMs);
    return box;
}

std::string WizardDriver::MessageBoxText(HWND box)
{
    // The message box shows its text in the static control 0xFFFF.
    return Text(::GetDlgItem(box, 0xFFFF));
}

void WizardDriver::Answer(HWND box, int buttonId)
{
    HWND button = ::GetDlgItem(box, buttonId);
    if (button)
        ::PostMessageA(button, BM_CLICK, 0, 0);
    else
        ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), 0);
}

DWORD WizardDriver::WaitForExit(DWORD timeoutMs)
{
    if (::WaitForSingleObject(pi_.hProcess, timeoutMs) != WAIT_OBJECT_0)
        return STILL_ACTIVE;
    DWORD code = STILL_ACTIVE;
    ::GetExitCodeProcess(pi_.hProcess, &code);
    return code;
}

bool WaitForScreenshot(const std::string& folder, const std::string& name)
{
    WaitUntil([] { return false; }, 700);  // let the idle update and painting settle
    const std::string ready = folder + "\\ready-" + name;
    if (FILE* f = std::fopen(ready.c_str(), "w"))
        std::fclose(f);
    const std::string done = folder + "\\done-" + name;
    return WaitUntil([&] { return ::GetFileAttributesA(done.c_str()) != INVALID_FILE_ATTRIBUTES; },
                     30000);
}

}  // namespace qv::test
