#include "pages/PrintablePage.h"

#include "ControlIds.h"
#include "res/ResourceIds.h"
#include "ui/Dpi.h"

namespace qv::wizard {

PrintablePage::PrintablePage(const char* name, const char* windowClass, HWND parking,
                                     PrinterSetupDialog& printerSetup, std::string printJob)
    : WizardPage(name, windowClass, parking),
      printerSetup_(printerSetup),
      printJob_(std::move(printJob)),
      stripFont_(MakeFont("MS Sans Serif", 17)),
      titleStrip_(std::make_unique<Panel>(Handle(), kIdTitleStrip, Bevel::Raised)),
      speedButtonPrint_(std::make_unique<SpeedButton>(titleStrip_->Handle(), kIdSpeedButtonPrint,
                                                      kIdiPrinter, Scale(4), Scale(4), Scale(24)))
{
    titleStrip_->SetCaptionFont(stripFont_.get());
    ::ShowWindow(titleStrip_->Handle(), SW_SHOW);
}

void PrintablePage::SetDocument(HWND area, HWND viewer)
{
    documentArea_ = area;
    printedViewer_ = viewer;
    RECT r;
    ::GetClientRect(Handle(), &r);
    Resized(r.right, r.bottom);
}

void PrintablePage::Resized(int width, int height)
{
    const int strip = Scale(32);
    ::MoveWindow(titleStrip_->Handle(), 0, 0, width, strip, TRUE);
    if (documentArea_)
        ::MoveWindow(documentArea_, 0, strip, width, height > strip ? height - strip : 0, TRUE);
}

void PrintablePage::PrintClicked()
{
    PrintViewer(printerSetup_, ::GetAncestor(Handle(), GA_ROOT), printedViewer_, printJob_);
}

LRESULT PrintablePage::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wParam) == kIdSpeedButtonPrint && HIWORD(wParam) == BN_CLICKED) {
            PrintClicked();
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
    return WizardPage::HandleMessage(message, wParam, lParam);
}

}  // namespace qv::wizard
