#include "pages/TfrmPrintableStep.h"

#include "ControlIds.h"
#include "res/ResourceIds.h"
#include "ui/Dpi.h"

namespace qv::wizard {

TfrmPrintableStep::TfrmPrintableStep(const char* name, const char* windowClass, HWND parking,
                                     PrinterSetupDialog& printerSetup, std::string printJob)
    : TFrmStep(name, windowClass, parking), printerSetup_(printerSetup), printJob_(std::move(printJob))
{
}

void TfrmPrintableStep::CreateTitleStrip()
{
    PanelButtons = std::make_unique<Panel>(Handle(), kIdPageStrip, Bevel::Raised);
    stripFont_ = MakeFont("MS Sans Serif", 17);
    PanelButtons->SetCaptionFont(stripFont_.get());
    speedButtonPrint_ = std::make_unique<SpeedButton>(PanelButtons->Handle(), kIdSpeedButtonPrint,
                                                      kIdiPrinter, Scale(4), Scale(4), Scale(24));
    ::ShowWindow(PanelButtons->Handle(), SW_SHOW);
}

int TfrmPrintableStep::LayoutTitleStrip(int width)
{
    const int strip = Scale(32);
    ::MoveWindow(PanelButtons->Handle(), 0, 0, width, strip, TRUE);
    return strip;
}

void TfrmPrintableStep::SpeedButtonPrintClick()
{
    PrintViewer(printerSetup_, ::GetAncestor(Handle(), GA_ROOT), PrintedViewer(), printJob_);
}

LRESULT TfrmPrintableStep::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
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
