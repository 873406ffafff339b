#include "pages/TfrmDisplayFile.h"

#include "ControlIds.h"
#include "core/Texts.h"
#include "res/ResourceIds.h"
#include "ui/Dpi.h"
#include "ui/RichText.h"

namespace qv::wizard {

TfrmDisplayFile::TfrmDisplayFile(HWND parking, PrinterSetupDialog& printerSetup)
    : TFrmStep("frmDisplayFile", kDisplayFileClass, parking), printerSetup_(printerSetup)
{
    Initialise();
}

void TfrmDisplayFile::FormCreate()
{
    TFrmStep::FormCreate();
    PanelButtons = std::make_unique<Panel>(Handle(), kIdPageStrip, Bevel::Raised);
    stripFont_ = MakeFont("MS Sans Serif", 17);
    PanelButtons->SetCaptionFont(stripFont_.get());
    speedButtonPrint_ = std::make_unique<SpeedButton>(PanelButtons->Handle(), kIdSpeedButtonPrint,
                                                      kIdiPrinter, Scale(4), Scale(4), Scale(24));
    richEditFile_ = CreateRichViewer(Handle(), kIdRichEditFile, WS_VSCROLL | WS_HSCROLL);
    PanelButtons->SetCaption(texts::kListOfChanges);
    ::ShowWindow(PanelButtons->Handle(), SW_SHOW);
    RECT r;
    ::GetClientRect(Handle(), &r);
    FormResize(r.right, r.bottom);
}

std::string TfrmDisplayFile::GetNextCaption()
{
    return texts::kStartCaption;
}

void TfrmDisplayFile::EnterStep()
{
    TFrmStep::EnterStep();
}

void TfrmDisplayFile::FormResize(int width, int height)
{
    if (!PanelButtons)
        return;
    const int strip = Scale(32);
    ::MoveWindow(PanelButtons->Handle(), 0, 0, width, strip, TRUE);
    ::MoveWindow(richEditFile_, 0, strip, width, height > strip ? height - strip : 0, TRUE);
}

void TfrmDisplayFile::SpeedButtonPrintClick()
{
    PrintViewer(printerSetup_, ::GetAncestor(Handle(), GA_ROOT), richEditFile_,
                texts::kListOfChanges);
}

LRESULT TfrmDisplayFile::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
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
