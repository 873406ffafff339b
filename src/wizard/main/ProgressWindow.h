#pragma once
// The window of a /SILENT run: the package's title over the report as it
// grows, and nothing to press. The run closes it when it ends.
#include <windows.h>

#include <memory>
#include <string>

#include "ui/GdiHandles.h"
#include "ui/Label.h"
#include "ui/RichText.h"
#include "ui/Window.h"

namespace qv::wizard {

class ProgressWindow : public Window {
public:
    ProgressWindow();
    ~ProgressWindow() override;

    void SetTitle(const std::string& title);
    void Show();
    // The report, written into the viewer.
    ReportSink& Report() { return *report_; }
    // Keeps the last line in view.
    void ScrollToEnd();

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    UniqueFont titleFont_;
    UniqueIcon icon_;
    std::unique_ptr<Label> title_;
    HWND viewer_ = nullptr;
    std::unique_ptr<RichEditReportSink> report_;
};

}  // namespace qv::wizard
