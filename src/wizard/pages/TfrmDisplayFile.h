#pragma once
// The list of changes: UpdateInfo.txt as rich text, printable.
#include "pages/TfrmPrintableStep.h"

namespace qv::wizard {

class TfrmDisplayFile : public TfrmPrintableStep {
public:
    // Printing uses the report page's printer-setup dialog.
    TfrmDisplayFile(HWND parking, PrinterSetupDialog& printerSetup);

    std::string GetNextCaption() override;

    HWND RichEditFile() const { return richEditFile_; }

private:
    void FormCreate();

    HWND richEditFile_ = nullptr;
};

}  // namespace qv::wizard
