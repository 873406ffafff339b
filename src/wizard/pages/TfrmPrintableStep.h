#pragma once
// A step page showing a rich-text document under a title strip with a print
// button: the list of changes and the installation report.
#include <memory>
#include <string>

#include "pages/TFrmStep.h"
#include "ui/Panel.h"
#include "ui/Printing.h"
#include "ui/SpeedButton.h"

namespace qv::wizard {

class TfrmPrintableStep : public TFrmStep {
public:
    HWND SpeedButtonPrint() const { return speedButtonPrint_->Handle(); }
    // Prints the whole document as the page's print job.
    void SpeedButtonPrintClick();

protected:
    TfrmPrintableStep(const char* name, const char* windowClass, HWND parking,
                      PrinterSetupDialog& printerSetup, std::string printJob);

    // Creates the title strip with its print button; called by FormCreate.
    void CreateTitleStrip();
    // Places the strip along the top; returns its height.
    int LayoutTitleStrip(int width);
    Panel& TitleStrip() { return *PanelButtons; }
    bool Created() const { return PanelButtons != nullptr; }

    // The viewer that is printed.
    virtual HWND PrintedViewer() const = 0;

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    PrinterSetupDialog& printerSetup_;
    std::string printJob_;
    std::unique_ptr<Panel> PanelButtons;  // the title strip
    std::unique_ptr<SpeedButton> speedButtonPrint_;
    UniqueFont stripFont_;
};

}  // namespace qv::wizard
