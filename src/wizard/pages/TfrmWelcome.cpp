#include "pages/TfrmWelcome.h"

#include "ControlIds.h"
#include "core/Texts.h"

namespace qv::wizard {

TfrmWelcome::TfrmWelcome(HWND parking) : TFrmStep("frmWelcome", kWelcomeClass, parking, RGB(255, 255, 255))
{
    Initialise();
}

void TfrmWelcome::FormCreate()
{
    TFrmStep::FormCreate();
    LabelStyle style;
    style.background = RGB(255, 255, 255);
    style.textColor = ::GetSysColor(COLOR_WINDOWTEXT);
    RzLabelInfo = std::make_unique<Label>(Handle(), kIdLabelInfo, style);
    RzLabelInfo->SetText("Info");
    RECT r;
    ::GetClientRect(Handle(), &r);
    FormResize(r.right, r.bottom);
}

std::string TfrmWelcome::ComposeWelcomeText(const std::string& title, const std::string& extra)
{
    const std::string shown = title.empty() ? "?" : title;
    return texts::kWelcomeUpdates + shown + "." + "\r\n\r\n" + texts::kWelcomeNoDataDeleted +
           "\r\n\r\n" + texts::kWelcomeCloseApplications + "\r\n\r\n" + extra;
}

void TfrmWelcome::SetWelcomeText(const std::string& title, const std::string& extra)
{
    RzLabelInfo->SetText(ComposeWelcomeText(title, extra));
}

// The text starts a third of the way down, with 20-pixel margins.
void TfrmWelcome::FormResize(int width, int height)
{
    if (!RzLabelInfo)
        return;
    ::MoveWindow(RzLabelInfo->Handle(), 20, height / 3, width - 40, height - height / 3 - 20,
                 TRUE);
}

void TfrmWelcome::FontChanged(HFONT font)
{
    RzLabelInfo->SetFont(font);
}

}  // namespace qv::wizard
