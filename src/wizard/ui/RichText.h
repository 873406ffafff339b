#pragma once
// The read-only rich-text viewers of the wizard: the list of changes and
// the installation report.
#include <windows.h>

#include <iosfwd>
#include <string>
#include <vector>

#include "platform/ReportSink.h"
#include "platform/RichTextViewer.h"

namespace qv::wizard {

// Creates a read-only RichEdit child with the given extra styles (scroll
// bars), its default font MS Sans Serif at a 13-pixel character height.
HWND CreateRichViewer(HWND parent, int id, DWORD extraStyle);

// Replaces the viewer's content with the RTF read from the stream's current
// position (EM_STREAMIN, SF_RTF), line breaks made CR LF on the way. Returns
// 0, or the control's error code (a read error of the stream stops it).
int StreamRichText(HWND viewer, std::istream& stream);
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
//
// The lines of a run come in bursts between the run's waits, and the viewer
// shows nothing new before the program next looks at its messages. So a
// line is held until then and a burst goes in at once: one insertion per
// change of format instead of a round of viewer calls per line, made when
// the next message reaches the program (a message posted to the viewer) or,
// sooner, when anything at all is asked of the viewer (its text, its
// painting, printing). Whoever looks at the viewer sees every line written
// so far; the keyboard focus moves to it as each line is written.
class RichEditReportSink : public ReportSink {
public:
    explicit RichEditReportSink(HWND viewer);
    ~RichEditReportSink() override;
    RichEditReportSink(const RichEditReportSink&) = delete;
    RichEditReportSink& operator=(const RichEditReportSink&) = delete;

    void AddLine(const std::string& text, int size, const std::string& fontName) override;
    // Puts the lines still held into the viewer now.
    void Flush();

private:
    // What goes in with one insertion: one line that sets the size or the
    // face, or consecutive lines that set neither.
    struct Insertion {
        int size = 0;
        std::string fontName;
        std::string text;  // the lines, each ended by CR LF
    };

    static LRESULT CALLBACK ViewerProc(HWND viewer, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR id, DWORD_PTR self);

    HWND viewer_;
    std::vector<Insertion> held_;
    bool flushing_ = false;
};

}  // namespace qv::wizard
