#pragma once
// The installation report, written while the update runs, printable.
#include <memory>

#include "pages/TFrmStep.h"
#include "ui/Panel.h"
#include "ui/Printing.h"
#include "ui/RichText.h"
#include "ui/SpeedButton.h"

namespace qv::wizard {

class TfrmEndInstall : public TFrmStep {
public:
    explicit TfrmEndInstall(HWND parking);

    std::string GetNextCaption() override;
    void EnterStep() override;
    HWND ActiveControl() override { return richEditReport_; }

    HWND RichEditReport() const { return richEditReport_; }
    HWND SpeedButtonPrint() const { return speedButtonPrint_->Handle(); }
    PrinterSetupDialog& PrinterSetup() { return PrinterSetupDialog_; }
    // The report, written into RichEditReport.
    ReportSink& Report() { return *report_; }

    void SpeedButtonPrintClick();

protected:
    void FormCreate() override;
    void FormResize(int width, int height) override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    PrinterSetupDialog PrinterSetupDialog_;
    std::unique_ptr<Panel> PanelButtons;  // the title strip
    std::unique_ptr<SpeedButton> speedButtonPrint_;
    std::unique_ptr<Panel> PanelMain;
    UniqueFont stripFont_;
    HWND richEditReport_ = nullptr;
    std::unique_ptr<RichEditReportSink> report_;
};

}  // namespace qv::wizard
