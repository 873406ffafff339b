#include "pages/WelcomePage.h"

#include "ControlIds.h"
#include "core/Texts.h"

namespace qv::wizard {

WelcomePage::WelcomePage(HWND parking) : WizardPage("frmWelcome", kWelcomePageClass, parking, RGB(255, 255, 255))
{
    CreateControls();
}

void WelcomePage::CreateControls()
{
    LabelStyle style;
    style.background = RGB(255, 255, 255);
    style.textColor = ::GetSysColor(COLOR_WINDOWTEXT);
    welcomeLabel_ = std::make_unique<Label>(Handle(), kIdWelcomeLabel, style);
    welcomeLabel_->SetText(texts::kWelcomePlaceholder);
    RECT r;
    ::GetClientRect(Handle(), &r);
    Resized(r.right, r.bottom);
}

void WelcomePage::SetWelcomeText(const std::string& title, const std::string& extra)
{
    const std::string shown = title.empty() ? "?" : title;
    welcomeLabel_->SetText(texts::kWelcomeUpdates + shown + "." + "\r\n\r\n" +
                           texts::kWelcomeNoDataDeleted + "\r\n\r\n" +
                           texts::kWelcomeCloseApplications + "\r\n\r\n" + extra);
}

// The text starts a third of the way down, with 20-pixel margins.
void WelcomePage::Resized(int width, int height)
{
    if (!welcomeLabel_)
        return;
    ::MoveWindow(welcomeLabel_->Handle(), 20, height / 3, width - 40, height - height / 3 - 20,
                 TRUE);
}

void WelcomePage::FontChanged(HFONT font)
{
    welcomeLabel_->SetFont(font);
}

}  // namespace qv::wizard
