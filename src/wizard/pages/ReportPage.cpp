#include "pages/ReportPage.h"

#include <richedit.h>

#include "ControlIds.h"
#include "core/Texts.h"

namespace qv::wizard {

ReportPage::ReportPage(HWND parking)
    : PrintablePage("frmEndInstall", kReportPageClass, parking, printerSetupDialog_,
                    texts::kReportPrintJob)
{
    CreateControls();
}

void ReportPage::CreateControls()
{
    reportPanel_ = std::make_unique<Panel>(Handle(), kIdReportPanel);
    richEditReport_ = CreateRichViewer(reportPanel_->Handle(), kIdRichEditReport,
                                       WS_VSCROLL | ES_DISABLENOSCROLL);
    report_ = std::make_unique<RichEditReportSink>(richEditReport_);
    reportPanel_->onResize = [this](int w, int h) { ::MoveWindow(richEditReport_, 0, 0, w, h, TRUE); };
    ::ShowWindow(reportPanel_->Handle(), SW_SHOW);
    SetDocument(reportPanel_->Handle(), richEditReport_);
}

std::string ReportPage::GetNextCaption()
{
    return texts::kQuitCaption;
}

void ReportPage::EnterStep()
{
    WizardPage::EnterStep();
    TitleStrip().SetCaption(texts::kInstallationReport);
}

}  // namespace qv::wizard
