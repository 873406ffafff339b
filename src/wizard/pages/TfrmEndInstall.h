#pragma once
// The installation report, written while the update runs, printable.
#include <memory>

#include "pages/TfrmPrintableStep.h"
#include "ui/RichText.h"

namespace qv::wizard {

class TfrmEndInstall : public TfrmPrintableStep {
public:
    explicit TfrmEndInstall(HWND parking);

    std::string GetNextCaption() override;
    void EnterStep() override;
    HWND ActiveControl() override { return richEditReport_; }

    HWND RichEditReport() const { return richEditReport_; }
    PrinterSetupDialog& PrinterSetup() { return PrinterSetupDialog_; }
    // The report, written into RichEditReport.
    ReportSink& Report() { return *report_; }

protected:
    void FormCreate() override;
    void FormResize(int width, int height) override;
    HWND PrintedViewer() const override { return richEditReport_; }

private:
    PrinterSetupDialog PrinterSetupDialog_;
    std::unique_ptr<Panel> PanelMain;
    HWND richEditReport_ = nullptr;
    std::unique_ptr<RichEditReportSink> report_;
};

}  // namespace qv::wizard
