#include "platform/win32/Win32UserInteraction.h"

#include <commdlg.h>

#include <utility>

#include "core/Texts.h"
#include "platform/win32/Win32Handles.h"
#include "platform/win32/WindowsHelpers.h"

namespace qv::win32 {
namespace {

bool g_waitCursor = false;  // GUI thread only, like the nesting counter

// The message box is the system's; a CBT hook on this thread catches it
// when it is first activated to give its buttons the program's captions and
// to centre it on the screen.
thread_local HHOOK t_boxHook = nullptr;

void CentreOnScreen(HWND box)
{
    RECT r;
    GetWindowRect(box, &r);
    MONITORINFO mi = {};
    mi.cbSize = sizeof mi;
    GetMonitorInfoA(MonitorFromWindow(box, MONITOR_DEFAULTTOPRIMARY), &mi);
    const RECT& area = mi.rcWork;
    int width = r.right - r.left, height = r.bottom - r.top;
    int x = area.left + (area.right - area.left - width) / 2;
    int y = area.top + (area.bottom - area.top - height) / 2;
    SetWindowPos(box, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CALLBACK MessageBoxHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE) {
        HWND box = reinterpret_cast<HWND>(wParam);
        char className[16] = {};
        GetClassNameA(box, className, sizeof className);
        if (lstrcmpA(className, "#32770") == 0) {
            struct {
                int id;
                const char* caption;
            } buttons[] = {{IDOK, texts::kButtonOk},
                           {IDCANCEL, texts::kButtonCancel},
                           {IDYES, texts::kButtonYes},
                           {IDNO, texts::kButtonNo}};
            for (const auto& b : buttons)
                if (HWND button = GetDlgItem(box, b.id))
                    SetWindowTextA(button, b.caption);
            CentreOnScreen(box);
        }
    }
    return CallNextHookEx(t_boxHook, code, wParam, lParam);
}

UINT IconOf(DialogType type)
{
    switch (type) {
    case DialogType::Warning: return MB_ICONWARNING;
    case DialogType::Error: return MB_ICONERROR;
    case DialogType::Information: return MB_ICONINFORMATION;
    case DialogType::Confirmation: return MB_ICONQUESTION;
    }
    return 0;
}

const char* CaptionOf(DialogType type)
{
    switch (type) {
    case DialogType::Warning: return texts::kCaptionWarning;
    case DialogType::Error: return texts::kCaptionError;
    case DialogType::Information: return texts::kCaptionInformation;
    case DialogType::Confirmation: return texts::kCaptionConfirmation;
    }
    return "";
}

UINT ButtonsOf(DialogButtons buttons)
{
    switch (buttons) {
    case DialogButtons::Ok: return MB_OK;
    case DialogButtons::YesNo: return MB_YESNO;
    case DialogButtons::YesNoCancel: return MB_YESNOCANCEL;
    }
    return MB_OK;
}

}  // namespace

void Win32UserInteraction::Beep(unsigned soundType)
{
    MessageBeep(soundType);
}

DialogResult Win32UserInteraction::ShowMessageDialog(const std::string& text, DialogType type,
                                                     DialogButtons buttons,
                                                     const std::string& caption)
{
    HWND owner = GetActiveWindow();
    // OK, or else Yes, is the first button and the default one. Escape and
    // the close box give Cancel (a Yes/No box ignores them).
    UINT style = ButtonsOf(buttons) | IconOf(type) | MB_DEFBUTTON1 | (owner ? 0 : MB_TASKMODAL);

    UniqueHook hook(SetWindowsHookExA(WH_CBT, MessageBoxHook, nullptr, GetCurrentThreadId()));
    HHOOK outer = std::exchange(t_boxHook, hook.get());
    int answer = MessageBoxA(owner, text.c_str(), caption.empty() ? CaptionOf(type) : caption.c_str(),
                             style);
    t_boxHook = outer;

    // Systems differ on what Escape gives in a box without a Cancel button
    // (some close a Yes/No box with IDCANCEL): map it to that box's own
    // "not Yes" answer.
    switch (answer) {
    case IDYES: return DialogResult::Yes;
    case IDNO: return DialogResult::No;
    case IDOK: return DialogResult::Ok;
    default:
        if (buttons == DialogButtons::Ok)
            return DialogResult::Ok;
        return buttons == DialogButtons::YesNo ? DialogResult::No : DialogResult::Cancel;
    }
}

std::string Win32UserInteraction::BrowseForFolder(const std::string& title)
{
    return win32::BrowseForFolder(title, owner_);
}

std::string Win32UserInteraction::ChooseFile()
{
    char path[MAX_PATH] = {};
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner_;
    ofn.lpstrFile = path;
    ofn.nMaxFile = MAX_PATH;
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING;
    return GetOpenFileNameA(&ofn) ? std::string(path) : std::string();
}

void Win32UserInteraction::SetWaitCursor(bool on)
{
    g_waitCursor = on;
    SetCursor(LoadCursorA(nullptr, on ? IDC_WAIT : IDC_ARROW));
}

bool WaitCursorShown()
{
    return g_waitCursor;
}

bool ApplyWaitCursor()
{
    if (!g_waitCursor)
        return false;
    SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    return true;
}

}  // namespace qv::win32
