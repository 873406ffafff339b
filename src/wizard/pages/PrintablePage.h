#pragma once
// A step page showing a rich-text document under a title strip with a print
// button: the list of changes and the installation report.
#include <memory>
#include <string>

#include "pages/WizardPage.h"
#include "ui/Panel.h"
#include "ui/Printing.h"
#include "ui/SpeedButton.h"

namespace qv::wizard {

class PrintablePage : public WizardPage {
public:
    HWND SpeedButtonPrint() const { return speedButtonPrint_->Handle(); }
    // Prints the whole document as the page's print job.
    void PrintClicked();

protected:
    // Makes the page with its title strip and print button; the page below
    // adds its document viewer.
    PrintablePage(const char* name, const char* windowClass, HWND parking,
                  PrinterSetupDialog& printerSetup, std::string printJob);

    // Called by the page's constructor once its document exists: area fills
    // the page below the strip, viewer is the rich text that prints.
    void SetDocument(HWND area, HWND viewer);
    Panel& TitleStrip() { return *titleStrip_; }

    // The strip along the top, the document below it.
    void Resized(int width, int height) final;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    PrinterSetupDialog& printerSetup_;
    std::string printJob_;
    UniqueFont stripFont_;
    std::unique_ptr<Panel> titleStrip_;
    std::unique_ptr<SpeedButton> speedButtonPrint_;
    HWND documentArea_ = nullptr;
    HWND printedViewer_ = nullptr;
};

}  // namespace qv::wizard
