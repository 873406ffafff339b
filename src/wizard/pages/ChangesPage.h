#pragma once
// The list of changes: UpdateInfo.txt as rich text, printable.
#include "pages/PrintablePage.h"

namespace qv::wizard {

class ChangesPage : public PrintablePage {
public:
    // Printing uses the report page's printer-setup dialog.
    ChangesPage(HWND parking, PrinterSetupDialog& printerSetup);

    std::string GetNextCaption() override;

    HWND RichEditFile() const { return richEditFile_; }

private:
    void CreateControls();

    HWND richEditFile_ = nullptr;
};

}  // namespace qv::wizard
