#include "pages/WizardPage.h"

#include "core/Texts.h"
#include "platform/win32/Win32Error.h"
#include "ui/Dpi.h"
#include "res/ResourceIds.h"

namespace qv::wizard {

namespace {
constexpr int kDesignWidth = 610;
constexpr int kDesignHeight = 360;
}  // namespace

WizardPage::WizardPage(const char* componentName, const char* className, HWND parking,
                       COLORREF background)
    : name_(componentName), parking_(parking)
{
    if (background != CLR_INVALID)
        background_.reset(::CreateSolidBrush(background));
    Create(className, WS_EX_CONTROLPARENT, WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
           componentName, 0, 0, Scale(kDesignWidth), Scale(kDesignHeight), parking, 0,
           background_ ? background_.get() : ::GetSysColorBrush(COLOR_BTNFACE));
    stepPicture_.reset(static_cast<HBITMAP>(
        ::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kIdbStepPicture), IMAGE_BITMAP,
                     0, 0, LR_CREATEDIBSECTION)));
}

bool WizardPage::CanGoNext()
{
    return true;
}

HBITMAP WizardPage::GetStepImage()
{
    return stepPicture_.get();
}

std::string WizardPage::GetNextCaption()
{
    return texts::kNextCaption;
}

void WizardPage::EnterStep() {}

void WizardPage::LeaveStep() {}

void WizardPage::AttachTo(HWND host, HFONT hostFont)
{
    ::SetParent(Handle(), host);
    if (hostFont != font_) {
        font_ = hostFont;
        FontChanged(font_);
    }
}

void WizardPage::Detach()
{
    ::ShowWindow(Handle(), SW_HIDE);
    ::SetParent(Handle(), parking_);
}

LRESULT WizardPage::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SIZE:
        Resized(LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_CTLCOLORSTATIC: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        if (background_) {
            LOGBRUSH lb{};
            ::GetObject(background_.get(), sizeof lb, &lb);
            ::SetBkColor(dc, lb.lbColor);
            return reinterpret_cast<LRESULT>(background_.get());
        }
        ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(font_);
    default:
        return Window::HandleMessage(message, wParam, lParam);
    }
}

}  // namespace qv::wizard
