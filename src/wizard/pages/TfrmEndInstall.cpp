#include "pages/TfrmEndInstall.h"

#include <richedit.h>

#include "ControlIds.h"
#include "core/Texts.h"

namespace qv::wizard {

TfrmEndInstall::TfrmEndInstall(HWND parking)
    : TfrmPrintableStep("frmEndInstall", kEndInstallClass, parking, printerSetupDialog_,
                        texts::kReportPrintJob)
{
    FormCreate();
}

void TfrmEndInstall::FormCreate()
{
    panelMain_ = std::make_unique<Panel>(Handle(), kIdPanelMain);
    richEditReport_ = CreateRichViewer(panelMain_->Handle(), kIdRichEditReport,
                                       WS_VSCROLL | ES_DISABLENOSCROLL);
    report_ = std::make_unique<RichEditReportSink>(richEditReport_);
    panelMain_->onResize = [this](int w, int h) { ::MoveWindow(richEditReport_, 0, 0, w, h, TRUE); };
    ::ShowWindow(panelMain_->Handle(), SW_SHOW);
    SetDocument(panelMain_->Handle(), richEditReport_);
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

}  // namespace qv::wizard
