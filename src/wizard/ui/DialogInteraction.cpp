#include "ui/DialogInteraction.h"

#include <commdlg.h>
#include <shlobj.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "core/Texts.h"
#include "platform/win32/Win32Handles.h"
#include "ui/Centring.h"

namespace qv::wizard {
namespace {

// The shell's folder chooser, starting at the desktop; the chosen folder's
// path, or "" when cancelled or when the item has no file-system path.
std::string ShellBrowseForFolder(const std::string& title, HWND owner)
{
    HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    char display[MAX_PATH] = {};
    BROWSEINFOA info = {};
    info.hwndOwner = owner;
    info.pszDisplayName = display;
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_DONTGOBELOWDOMAIN;
    std::string result;
    {
        win32::UniqueItemIdList item(SHBrowseForFolderA(&info));
        char path[MAX_PATH] = {};
        if (item && SHGetPathFromIDListA(item.get(), path))
            result = path;
    }
    if (SUCCEEDED(com))
        CoUninitialize();
    return result;
}


bool g_waitCursor = false;  // GUI thread only, like the nesting counter

// The message box is the program's own dialog, not the system's: a system
// box plays its icon's sound as it opens, over the sound the helpers play
// first. Its layout follows the system's: icon, text, a row of buttons.
constexpr int kIconId = 20;
constexpr int kTextId = 0xFFFF;

struct BoxButton {
    int id;
    const char* caption;
};

struct BoxRequest {
    const std::string& text;
    const char* caption;
    LPCSTR icon;
    std::vector<BoxButton> buttons;
};

HWND AddControl(HWND box, const char* className, const char* text, DWORD style, int id)
{
    HWND control = CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0,
                                   box, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   GetModuleHandleA(nullptr), nullptr);
    SendMessageA(control, WM_SETFONT, SendMessageA(box, WM_GETFONT, 0, 0), FALSE);
    return control;
}

// Creates the controls and sizes the box around them, in dialog units of
// its own font so that it scales with the screen.
void LayOutBox(HWND box, const BoxRequest& request)
{
    SetWindowTextA(box, request.caption);
    auto toPixels = [box](int x, int y) {
        RECT r{0, 0, x, y};
        MapDialogRect(box, &r);
        return SIZE{r.right, r.bottom};
    };
    const SIZE margin = toPixels(7, 7);
    const SIZE button = toPixels(50, 14);
    const SIZE gap = toPixels(4, 7);
    const int iconSize = GetSystemMetrics(SM_CXICON);

    HWND icon = AddControl(box, "STATIC", "", SS_ICON, kIconId);
    SendMessageA(icon, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconA(nullptr, request.icon)), 0);
    HWND text = AddControl(box, "STATIC", request.text.c_str(), SS_LEFT | SS_NOPREFIX, kTextId);

    // The text's size, wrapped at most at two thirds of the screen.
    RECT textRect{0, 0, GetSystemMetrics(SM_CXSCREEN) * 2 / 3, 0};
    HDC dc = GetDC(box);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(box, WM_GETFONT, 0, 0)));
    DrawTextA(dc, request.text.c_str(), -1, &textRect,
              DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(box, dc);

    const int count = static_cast<int>(request.buttons.size());
    const int rowWidth = count * button.cx + (count - 1) * gap.cx;
    const int textLeft = margin.cx + iconSize + margin.cx;
    const int contentHeight = std::max<int>(iconSize, textRect.bottom);
    const int clientWidth = std::max<int>(textLeft + textRect.right + margin.cx, rowWidth + 2 * margin.cx);
    const int buttonTop = margin.cy + contentHeight + gap.cy;
    const int clientHeight = buttonTop + button.cy + margin.cy;

    MoveWindow(icon, margin.cx, margin.cy, iconSize, iconSize, FALSE);
    MoveWindow(text, textLeft, margin.cy + (contentHeight - textRect.bottom) / 2, textRect.right,
               textRect.bottom, FALSE);
    int x = (clientWidth - rowWidth) / 2;
    for (int i = 0; i < count; ++i) {
        // OK, or else Yes, is first: the default button, where the focus starts.
        DWORD style = WS_TABSTOP | (i == 0 ? BS_DEFPUSHBUTTON | WS_GROUP : BS_PUSHBUTTON);
        HWND b = AddControl(box, "BUTTON", request.buttons[i].caption, style, request.buttons[i].id);
        MoveWindow(b, x, buttonTop, button.cx, button.cy, FALSE);
        x += button.cx + gap.cx;
    }

    RECT frame{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongA(box, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongA(box, GWL_EXSTYLE)));
    SetWindowPos(box, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    CentreOnWorkArea(box);
    SendMessageA(box, DM_SETDEFID, request.buttons.front().id, 0);
    SetFocus(GetDlgItem(box, request.buttons.front().id));
}

INT_PTR CALLBACK MessageBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        LayOutBox(box, *reinterpret_cast<const BoxRequest*>(lParam));
        return FALSE;  // the focus is set
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
        case IDCANCEL:  // Escape and the close box, whatever the buttons
        case IDYES:
        case IDNO:
            EndDialog(box, LOWORD(wParam));
            return TRUE;
        }
        break;
    }
    return FALSE;
}

// A modal dialog of the given request: an empty template in the message
// box font, the controls made by LayOutBox. Returns the id that closed it.
int RunMessageBox(HWND owner, const BoxRequest& request)
{
    // DLGTEMPLATE, no menu, the standard class, an empty title, then the
    // font: 8 points "MS Shell Dlg".
    struct alignas(4) Template {
        DLGTEMPLATE header;
        WORD menu = 0, windowClass = 0, title = 0, pointSize = 8;
        wchar_t face[13] = L"MS Shell Dlg";
    } tpl{};
    tpl.header.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT |
                       (owner ? 0 : DS_SYSMODAL);
    tpl.header.dwExtendedStyle = WS_EX_DLGMODALFRAME;
    return static_cast<int>(DialogBoxIndirectParamA(
        GetModuleHandleA(nullptr), &tpl.header, owner, MessageBoxProc,
        reinterpret_cast<LPARAM>(&request)));
}

LPCSTR IconOf(DialogType type)
{
    switch (type) {
    case DialogType::Warning: return IDI_WARNING;
    case DialogType::Error: return IDI_ERROR;
    case DialogType::Information: return IDI_INFORMATION;
    case DialogType::Confirmation: return IDI_QUESTION;
    }
    return IDI_WARNING;
}

std::vector<BoxButton> ButtonsOf(DialogButtons buttons)
{
    switch (buttons) {
    case DialogButtons::Ok: return {{IDOK, texts::kButtonOk}};
    case DialogButtons::YesNo: return {{IDYES, texts::kButtonYes}, {IDNO, texts::kButtonNo}};
    case DialogButtons::YesNoCancel:
        return {{IDYES, texts::kButtonYes}, {IDNO, texts::kButtonNo}, {IDCANCEL, texts::kButtonCancel}};
    }
    return {{IDOK, texts::kButtonOk}};
}

}  // namespace

void DialogInteraction::Beep(unsigned soundType)
{
    playSound_(soundType);
}

void PlaySystemSound(unsigned soundType)
{
    MessageBeep(soundType);
}

DialogResult DialogInteraction::ShowMessageDialog(const std::string& text, DialogType type,
                                                  DialogButtons buttons,
                                                  const std::string& caption)
{
    // Modal over the active window of this thread, if any; centred on the
    // screen. It plays no sound of its own.
    BoxRequest request{text, caption.empty() ? DialogCaption(type) : caption.c_str(), IconOf(type),
                       ButtonsOf(buttons)};
    int answer = RunMessageBox(GetActiveWindow(), request);

    // Escape and the close box give IDCANCEL in every box: in a box without
    // a Cancel button that is its own "not Yes" answer.
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

std::string DialogInteraction::BrowseForFolder(const std::string& title)
{
    return ShellBrowseForFolder(title, owner_);
}

std::string DialogInteraction::ChooseFile()
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

void DialogInteraction::SetWaitCursor(bool on)
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

}  // namespace qv::wizard
