#pragma once
// The list of changes: UpdateInfo.txt as rich text, printable.
#include <memory>

#include "pages/TfrmPrintableStep.h"

namespace qv::wizard {

class BalloonHints;

class TfrmDisplayFile : public TfrmPrintableStep {
public:
    // Printing uses the report page's printer-setup dialog.
    TfrmDisplayFile(HWND parking, PrinterSetupDialog& printerSetup);

    std::string GetNextCaption() override;
    void EnterStep() override;

    HWND RichEditFile() const { return richEditFile_; }
protected:
    void FormCreate() override;
    void FormResize(int width, int height) override;
    HWND PrintedViewer() const override { return richEditFile_; }

private:
    HWND richEditFile_ = nullptr;
};

}  // namespace qv::wizard
