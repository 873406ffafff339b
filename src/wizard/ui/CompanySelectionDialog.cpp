#include "ui/CompanySelectionDialog.h"

#include "ControlIds.h"
#include "core/Texts.h"
#include "platform/win32/Win32Error.h"
#include "platform/win32/WindowsHelpers.h"
#include "ui/Centring.h"
#include "ui/Dpi.h"
#include "ui/LayoutButtonPanel.h"

namespace qv::wizard {
namespace {

// Sizes of the 120-dpi design.
constexpr int kClientWidth = 414;
constexpr int kClientHeight = 152;
constexpr int kLabelLeft = 16;
constexpr int kLabelWidth = 80;
constexpr int kListLeft = 98;
constexpr int kListTop = 40;
constexpr int kListWidth = 300;
constexpr int kListDropHeight = 200;  // the list when dropped down
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kDialogExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

HWND CreateChild(HWND parent, const char* cls, const char* text, DWORD style, int id, int x,
                 int y, int width, int height)
{
    HWND h = ::CreateWindowExA(0, cls, text, WS_CHILD | style, x, y, width, height, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               ::GetModuleHandleA(nullptr), nullptr);
    if (!h)
        win32::RaiseLastSystemError();
    return h;
}

}  // namespace

ListKeyOutcome HandleCompanyListKey(CompanyList& companies, unsigned virtualKey)
{
    switch (virtualKey) {
    case VK_RETURN:
        companies.ConfirmSelection();
        return ListKeyOutcome::Confirmed;
    case VK_ESCAPE:
        companies.CancelSelection();
        return ListKeyOutcome::Cancelled;
    default:
        return ListKeyOutcome::LeftToList;
    }
}

CompanySelectionDialog::CompanySelectionDialog(CompanyList& companies, UserInteraction& user)
    : companies_(companies), user_(user)
{
    RECT r{0, 0, Scale(kClientWidth), Scale(kClientHeight)};
    ::AdjustWindowRectEx(&r, kDialogStyle, FALSE, kDialogExStyle);
    Create(kCompanyListClass, kDialogExStyle, kDialogStyle, texts::kCompanyDialogCaption, 0, 0,
           r.right - r.left, r.bottom - r.top, nullptr, 0, ::GetSysColorBrush(COLOR_BTNFACE));
    CreateControls();
}

void CompanySelectionDialog::CreateControls()
{
    font_ = MakeFont("MS Sans Serif", 13);
    RECT client;
    ::GetClientRect(Handle(), &client);

    companyList_ = CreateChild(Handle(), "COMBOBOX", "",
                               WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST,
                               kIdCompanyList, Scale(kListLeft), Scale(kListTop),
                               Scale(kListWidth), Scale(kListDropHeight));
    // The label stands at the left of the list, on the line of its text.
    RECT list;
    ::GetWindowRect(companyList_, &list);
    const int listHeight = list.bottom - list.top;
    const int labelHeight = Scale(16);
    companyLabel_ = CreateChild(Handle(), "STATIC", texts::kCompanyLabel,
                                WS_VISIBLE | SS_RIGHT | SS_NOPREFIX, kIdCompanyLabel,
                                Scale(kLabelLeft), Scale(kListTop) + (listHeight - labelHeight) / 2,
                                Scale(kLabelWidth), labelHeight);

    // The button strip along the bottom: OK and Annuler; the Info button is
    // hidden and takes no place.
    buttonPanel_ = std::make_unique<Panel>(Handle(), kIdCompanyButtons);
    ::MoveWindow(buttonPanel_->Handle(), 0, 0, client.right, Scale(45), FALSE);
    HWND strip = buttonPanel_->Handle();
    infoButton_ = CreateChild(strip, "BUTTON", texts::kCompanyInfoButton, WS_TABSTOP | BS_PUSHBUTTON,
                              kIdCompanyInfo, Scale(10), 0, Scale(kButtonWidth),
                              Scale(kButtonHeight));
    okButton_ = CreateChild(strip, "BUTTON", texts::kButtonOk,
                            WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, kIdCompanyOk, Scale(200),
                            0, Scale(kButtonWidth), Scale(kButtonHeight));
    cancelButton_ = CreateChild(strip, "BUTTON", texts::kButtonCancel,
                                WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, kIdCompanyCancel,
                                Scale(290), 0, Scale(kButtonWidth), Scale(kButtonHeight));
    for (HWND h : {companyList_, companyLabel_, infoButton_, okButton_, cancelButton_})
        ::SendMessageA(h, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    LayoutButtonPanel(*buttonPanel_);
    RECT stripRect;
    ::GetWindowRect(strip, &stripRect);
    const int stripHeight = stripRect.bottom - stripRect.top;
    ::MoveWindow(strip, 0, client.bottom - stripHeight, client.right, stripHeight, FALSE);
    ::ShowWindow(strip, SW_SHOWNA);
}

void CompanySelectionDialog::FillList()
{
    ::SendMessageA(companyList_, CB_RESETCONTENT, 0, 0);
    for (const std::string& entry : companies_.Entries())
        ::SendMessageA(companyList_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    ::SendMessageA(companyList_, CB_SETCURSEL, static_cast<WPARAM>(companies_.SelectedIndex()), 0);
}

void CompanySelectionDialog::TakeSelectionFromList()
{
    LRESULT index = ::SendMessageA(companyList_, CB_GETCURSEL, 0, 0);
    companies_.Select(index == CB_ERR ? -1 : static_cast<int>(index));
}

void CompanySelectionDialog::Confirm()
{
    TakeSelectionFromList();
    companies_.ConfirmSelection();
    closed_ = true;
}

void CompanySelectionDialog::Cancel()
{
    TakeSelectionFromList();  // the list keeps what was picked, as shown
    companies_.CancelSelection();
    closed_ = true;
}

bool CompanySelectionDialog::ListKeyDown(unsigned key)
{
    TakeSelectionFromList();
    if (HandleCompanyListKey(companies_, key) == ListKeyOutcome::LeftToList)
        return false;
    closed_ = true;
    return true;
}

void CompanySelectionDialog::ShowCompanyFileInfo()
{
    user_.ShowInfoMessage(std::string(texts::kCompanyListInfo) + "\r\n" + companies_.CompanyFile());
}

bool CompanySelectionDialog::ShowModal(HWND owner)
{
    FillList();
    CentreOnWorkArea(Handle());
    ::SetWindowLongPtrA(Handle(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
    const bool ownerWasEnabled = owner && ::IsWindowEnabled(owner);
    if (ownerWasEnabled)
        ::EnableWindow(owner, FALSE);
    ::ShowWindow(Handle(), SW_SHOWNORMAL);
    ::SetForegroundWindow(Handle());
    ::SetFocus(companyList_);

    closed_ = false;
    MSG msg;
    while (!closed_) {
        BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {  // the application is ending: leave it to the main loop
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            Cancel();
            break;
        }
        if (got == -1) {
            Cancel();
            break;
        }
        // Enter and Escape in the list are the list's own keys.
        if (msg.message == WM_KEYDOWN && msg.hwnd == companyList_ &&
            ListKeyDown(static_cast<unsigned>(msg.wParam)))
            continue;
        if (::IsDialogMessageA(Handle(), &msg))
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }

    // The owner comes back before the dialog goes, so it gets the focus.
    if (ownerWasEnabled)
        ::EnableWindow(owner, TRUE);
    ::ShowWindow(Handle(), SW_HIDE);
    if (owner)
        ::SetActiveWindow(owner);
    return !companies_.Cancelled();
}

LRESULT CompanySelectionDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case kIdCompanyOk:
            if (HIWORD(wParam) == BN_CLICKED)
                Confirm();
            return 0;
        case kIdCompanyCancel:
            if (HIWORD(wParam) == BN_CLICKED)
                Cancel();
            return 0;
        case kIdCompanyInfo:
            if (HIWORD(wParam) == BN_CLICKED)
                ShowCompanyFileInfo();
            return 0;
        case kIdCompanyList:
            if (HIWORD(wParam) == CBN_SELCHANGE)
                TakeSelectionFromList();
            return 0;
        }
        break;
    case WM_CLOSE:  // the close box leaves like Annuler; the window stays
        Cancel();
        return 0;
    }
    return Window::HandleMessage(message, wParam, lParam);
}

}  // namespace qv::wizard
