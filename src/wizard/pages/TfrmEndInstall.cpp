#include "pages/TfrmEndInstall.h"

#include <richedit.h>

#include "ControlIds.h"
#include "core/Texts.h"
#include "res/ResourceIds.h"
#include "ui/Dpi.h"

namespace qv::wizard {

TfrmEndInstall::TfrmEndInstall(HWND parking)
    : TfrmPrintableStep("frmEndInstall", kEndInstallClass, parking, PrinterSetupDialog_,
                        "Update report")
{
    Initialise();
}

void TfrmEndInstall::FormCreate()
{
    TFrmStep::FormCreate();
    CreateTitleStrip();
    PanelMain = std::make_unique<Panel>(Handle(), kIdPanelMain);
    richEditReport_ = CreateRichViewer(PanelMain->Handle(), kIdRichEditReport,
                                       WS_VSCROLL | ES_DISABLENOSCROLL);
    report_ = std::make_unique<RichEditReportSink>(richEditReport_);
    PanelMain->onResize = [this](int w, int h) { ::MoveWindow(richEditReport_, 0, 0, w, h, TRUE); };
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
    TitleStrip().SetCaption(texts::kInstallationReport);
}

void TfrmEndInstall::FormResize(int width, int height)
{
    if (!Created())
        return;
    const int strip = LayoutTitleStrip(width);
    ::MoveWindow(PanelMain->Handle(), 0, strip, width, height > strip ? height - strip : 0, TRUE);
}

}  // namespace qv::wizard
