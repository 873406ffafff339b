#pragma once
// The installation report, written while the update runs, printable.
#include <memory>

#include "pages/PrintablePage.h"
#include "ui/RichText.h"

namespace qv::wizard {

class ReportPage : public PrintablePage {
public:
    explicit ReportPage(HWND parking);

    std::string GetNextCaption() override;
    void EnterStep() override;
    HWND ActiveControl() override { return richEditReport_; }

    HWND RichEditReport() const { return richEditReport_; }
    PrinterSetupDialog& PrinterSetup() { return printerSetupDialog_; }
    // The report, written into RichEditReport.
    ReportSink& Report() { return *report_; }

private:
    void CreateControls();

    // The base keeps a reference to it and uses it only to print, after
    // construction; the list of changes prints through it too.
    PrinterSetupDialog printerSetupDialog_;
    std::unique_ptr<Panel> reportPanel_;
    HWND richEditReport_ = nullptr;
    std::unique_ptr<RichEditReportSink> report_;
};

}  // namespace qv::wizard
