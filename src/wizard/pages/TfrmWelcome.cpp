#include "pages/TfrmWelcome.h"

#include "ControlIds.h"
#include "core/Texts.h"

namespace qv::wizard {

TfrmWelcome::TfrmWelcome(HWND parking) : TFrmStep("frmWelcome", kWelcomeClass, parking, RGB(255, 255, 255))
{
    FormCreate();
}

void TfrmWelcome::FormCreate()
{
    LabelStyle style;
    style.background = RGB(255, 255, 255);
    style.textColor = ::GetSysColor(COLOR_WINDOWTEXT);
    welcomeLabel_ = std::make_unique<Label>(Handle(), kIdWelcomeLabel, style);
    welcomeLabel_->SetText(texts::kWelcomePlaceholder);
    RECT r;
    ::GetClientRect(Handle(), &r);
    FormResize(r.right, r.bottom);
}

void TfrmWelcome::SetWelcomeText(const std::string& title, const std::string& extra)
{
    const std::string shown = title.empty() ? "?" : title;
    welcomeLabel_->SetText(texts::kWelcomeUpdates + shown + "." + "\r\n\r\n" +
                           texts::kWelcomeNoDataDeleted + "\r\n\r\n" +
                           texts::kWelcomeCloseApplications + "\r\n\r\n" + extra);
}

// The text starts a third of the way down, with 20-pixel margins.
void TfrmWelcome::FormResize(int width, int height)
{
    if (!welcomeLabel_)
        return;
    ::MoveWindow(welcomeLabel_->Handle(), 20, height / 3, width - 40, height - height / 3 - 20,
                 TRUE);
}

void TfrmWelcome::FontChanged(HFONT font)
{
    welcomeLabel_->SetFont(font);
}

}  // namespace qv::wizard
