#include "main/ProgressWindow.h"

#include <richedit.h>

#include "ControlIds.h"
#include "core/Texts.h"
#include "ui/DialogInteraction.h"
#include "res/ResourceIds.h"
#include "ui/Dpi.h"

namespace qv::wizard {

namespace {

// Sizes of the 120-dpi design: small beside the wizard's 712 x 469.
constexpr int kClientWidth = 520;
constexpr int kClientHeight = 300;
constexpr int kTitleHeight = 36;
// A caption without a close box: the run must not be cut off halfway
// through a file copy.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

}  // namespace

ProgressWindow::ProgressWindow()
{
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    icon_.reset(static_cast<HICON>(::LoadImageA(instance, MAKEINTRESOURCEA(kIdiQuorvexUpdate),
                                                IMAGE_ICON, 0, 0, LR_DEFAULTSIZE)));
    RECT r{0, 0, Scale(kClientWidth), Scale(kClientHeight)};
    ::AdjustWindowRectEx(&r, kStyle, FALSE, WS_EX_APPWINDOW);
    const int w = r.right - r.left, h = r.bottom - r.top;
    RECT work{};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    Create(kProgressWindowClass, WS_EX_APPWINDOW, kStyle, texts::kWizardCaption,
           work.left + ((work.right - work.left) - w) / 2, work.top + ((work.bottom - work.top) - h) / 2,
           w, h, nullptr, 0, ::GetSysColorBrush(COLOR_BTNFACE), icon_.get());

    titleFont_ = MakeFont("Arial", 17, FontWeight::Bold);
    LabelStyle titleStyle;
    titleStyle.textColor = RGB(255, 255, 255);
    titleStyle.background = RGB(128, 128, 128);
    titleStyle.centred = true;
    title_ = std::make_unique<Label>(Handle(), kIdProgressTitle, titleStyle);
    title_->SetFont(titleFont_.get());
    viewer_ = CreateRichViewer(Handle(), kIdRichEditReport, WS_VSCROLL | ES_DISABLENOSCROLL);
    report_ = std::make_unique<RichEditReportSink>(viewer_);

    RECT client;
    ::GetClientRect(Handle(), &client);
    const int title = Scale(kTitleHeight);
    ::MoveWindow(title_->Handle(), 0, 0, client.right, title, FALSE);
    ::MoveWindow(viewer_, 0, title, client.right, client.bottom - title, FALSE);
    ::ShowWindow(title_->Handle(), SW_SHOW);
}

ProgressWindow::~ProgressWindow()
{
    if (Handle())
        ::DestroyWindow(Handle());
}

void ProgressWindow::SetTitle(const std::string& title)
{
    title_->SetText(title);
}

void ProgressWindow::Show()
{
    ::ShowWindow(Handle(), SW_SHOWNORMAL);
    ::UpdateWindow(Handle());
}

void ProgressWindow::ScrollToEnd()
{
    ::SendMessageA(viewer_, EM_SCROLLCARET, 0, 0);
}

LRESULT ProgressWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CLOSE:  // Alt+F4: the run ends the window itself
        return 0;
    case WM_QUERYENDSESSION:
        // The window lives only while the run works: the end of the
        // Windows session would cut a file copy in half.
        return FALSE;
    case WM_SETCURSOR:
        if (ApplyWaitCursor())
            return TRUE;
        break;
    }
    return Window::HandleMessage(message, wParam, lParam);
}

}  // namespace qv::wizard
