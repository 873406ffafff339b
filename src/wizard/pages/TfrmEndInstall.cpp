#include "pages/TfrmEndInstall.h"

#include <richedit.h>

#include "ControlIds.h"
#include "core/Texts.h"
#include "res/ResourceIds.h"
#include "ui/Dpi.h"

namespace qv::wizard {

TfrmEndInstall::TfrmEndInstall(HWND parking) : TFrmStep("frmEndInstall", kEndInstallClass, parking)
{
    Initialise();
}

void TfrmEndInstall::FormCreate()
{
    TFrmStep::FormCreate();
    PanelButtons = std::make_unique<Panel>(Handle(), kIdPageStrip, Bevel::Raised);
    stripFont_ = MakeFont("MS Sans Serif", 17);
    PanelButtons->SetCaptionFont(stripFont_.get());
    speedButtonPrint_ = std::make_unique<SpeedButton>(PanelButtons->Handle(), kIdSpeedButtonPrint,
                                                      kIdiPrinter, Scale(4), Scale(4), Scale(24));
    PanelMain = std::make_unique<Panel>(Handle(), kIdPanelMain);
    richEditReport_ = CreateRichViewer(PanelMain->Handle(), kIdRichEditReport,
                                       WS_VSCROLL | ES_DISABLENOSCROLL);
    report_ = std::make_unique<RichEditReportSink>(richEditReport_);
    PanelMain->onResize = [this](int w, int h) { ::MoveWindow(richEditReport_, 0, 0, w, h, TRUE); };
    ::ShowWindow(PanelButtons->Handle(), SW_SHOW);
    ::ShowWindow(PanelMain->Handle(), SW_SHOW);
    RECT r;
    ::GetClientRect(Handle(), &r);
    FormResize(r.right, r.bottom);
}

std::string TfrmEndInstall::GetNextCaption()
{
    return texts::kQuitCaption;
}

void TfrmEndInstall::EnterStep()
{
    TFrmStep::EnterStep();
    PanelButtons->SetCaption(texts::kInstallationReport);
}

void TfrmEndInstall::FormResize(int width, int height)
{
    if (!PanelButtons)
        return;
    const int strip = Scale(32);
    ::MoveWindow(PanelButtons->Handle(), 0, 0, width, strip, TRUE);
    ::MoveWindow(PanelMain->Handle(), 0, strip, width, height > strip ? height - strip : 0, TRUE);
}

void TfrmEndInstall::SpeedButtonPrintClick()
{
    PrintViewer(PrinterSetupDialog_, ::GetAncestor(Handle(), GA_ROOT), richEditReport_,
                "Update report");
}

LRESULT TfrmEndInstall::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wParam) == kIdSpeedButtonPrint && HIWORD(wParam) == BN_CLICKED) {
            SpeedButtonPrintClick();
            return 0;
        }
        break;
    case WM_DRAWITEM: {
        auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item->CtlID == kIdSpeedButtonPrint) {
            speedButtonPrint_->Draw(*item);
            return TRUE;
        }
        break;
    }
    }
    return TFrmStep::HandleMessage(message, wParam, lParam);
}

}  // namespace qv::wizard
