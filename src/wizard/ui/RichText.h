#pragma once
// The read-only rich-text viewers of the wizard: the list of changes and
// the installation report.
#include <windows.h>

#include <string>

#include "platform/ReportSink.h"
#include "platform/RichTextViewer.h"

namespace qv::wizard {

// Creates a read-only RichEdit child with the given extra styles (scroll
// bars), its default font MS Sans Serif at a 13-pixel character height.
HWND CreateRichViewer(HWND parent, int id, DWORD extraStyle);

// Replaces the viewer's content with rtf (plain text is taken as such).
void StreamRichText(HWND viewer, const std::string& rtf);

// Lines in the viewer; an empty viewer has none.
int RichLineCount(HWND viewer);

// A RichEdit of the wizard as the engine's rich-text viewer. The window is
// not owned.
class RichEditViewer : public RichTextViewer {
public:
    explicit RichEditViewer(HWND viewer) : viewer_(viewer) {}
    void Clear() override { ::SetWindowTextA(viewer_, ""); }
    void StreamRtf(std::string_view rtf) override { StreamRichText(viewer_, std::string(rtf)); }
    int LineCount() override { return RichLineCount(viewer_); }

private:
    HWND viewer_;
};

// Writes the installation report into a viewer: each line becomes one
// paragraph at the end, in the size and face asked for.
class RichEditReportSink : public ReportSink {
public:
    explicit RichEditReportSink(HWND viewer) : viewer_(viewer) {}
    void AddLine(const std::string& text, int size, const std::string& fontName) override;

private:
    HWND viewer_;
};

}  // namespace qv::wizard
