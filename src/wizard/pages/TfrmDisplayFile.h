#pragma once
// The list of changes: UpdateInfo.txt as rich text, printable.
#include <memory>

#include "pages/TFrmStep.h"
#include "ui/Panel.h"
#include "ui/Printing.h"
#include "ui/SpeedButton.h"

namespace qv::wizard {

class BalloonHints;

class TfrmDisplayFile : public TFrmStep {
public:
    // Printing uses the report page's printer-setup dialog.
    TfrmDisplayFile(HWND parking, PrinterSetupDialog& printerSetup);

    std::string GetNextCaption() override;
    void EnterStep() override;

    HWND RichEditFile() const { return richEditFile_; }
    HWND SpeedButtonPrint() const { return speedButtonPrint_->Handle(); }

    void SpeedButtonPrintClick();

protected:
    void FormCreate() override;
    void FormResize(int width, int height) override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    PrinterSetupDialog& printerSetup_;
    std::unique_ptr<Panel> PanelButtons;  // the title strip
    std::unique_ptr<SpeedButton> speedButtonPrint_;
    UniqueFont stripFont_;
    HWND richEditFile_ = nullptr;
};

}  // namespace qv::wizard
