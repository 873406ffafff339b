#include "ui/RichText.h"

#include <commctrl.h>
#include <richedit.h>

#include <cstring>
#include <sstream>

#include "core/Errors.h"
#include "core/LineBreakChunker.h"
#include "core/RunTimings.h"
#include "platform/win32/Win32Error.h"
#include "platform/win32/SystemLibrary.h"
#include "platform/win32/Win32Handles.h"

namespace qv::wizard {
namespace {

void LoadRichEditLibrary()
{
    // Loaded once for the program's lifetime.
    static win32::UniqueModule module(win32::LoadSystemLibrary("riched20.dll"));
    if (!module)
        win32::RaiseLastSystemError();
}

void SetDefaultFont(HWND viewer)
{
    CHARFORMATA cf{};
    cf.cbSize = sizeof cf;
    cf.dwMask = CFM_FACE | CFM_SIZE | CFM_CHARSET | CFM_BOLD | CFM_ITALIC;
    // 13 pixels at 120 dpi, in twips.
    cf.yHeight = 13 * 1440 / 120;
    cf.bCharSet = ANSI_CHARSET;
    std::strcpy(cf.szFaceName, "MS Sans Serif");
    ::SendMessageA(viewer, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&cf));
    ::SendMessageA(viewer, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&cf));
}

// A read-only viewer takes the keys that move through its text (arrows,
// pages, Home, End) and leaves Tab, Enter and Escape to the wizard: the next
// control, the default button and Cancel, as on any other control.
LRESULT CALLBACK ViewerKeysProc(HWND viewer, UINT message, WPARAM wParam, LPARAM lParam,
                                UINT_PTR, DWORD_PTR)
{
    if (message == WM_GETDLGCODE)
        return ::DefSubclassProc(viewer, message, wParam, lParam) &
               ~(DLGC_WANTMESSAGE | DLGC_WANTALLKEYS | DLGC_WANTTAB);
    return ::DefSubclassProc(viewer, message, wParam, lParam);
}

}  // namespace

HWND CreateRichViewer(HWND parent, int id, DWORD extraStyle)
{
    LoadRichEditLibrary();
    HWND h = ::CreateWindowExA(
        WS_EX_CLIENTEDGE, RICHEDIT_CLASSA, "",
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL |
            ES_NOHIDESEL | extraStyle,
        0, 0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
        ::GetModuleHandleA(nullptr), nullptr);
    if (!h)
        win32::RaiseLastSystemError();
    ::SetWindowSubclass(h, ViewerKeysProc, 0, 0);
    // No size limit: a long report must not be cut off.
    ::SendMessageA(h, EM_EXLIMITTEXT, 0, 0x7FFFFFFF);
    SetDefaultFont(h);
    return h;
}

namespace {

struct RichTextSource {
    std::istream* stream;
    LineBreakChunker chunker;
};

DWORD CALLBACK StreamInCallback(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* written)
{
    // No exception may cross back into the control: a failure is reported
    // as a non-zero result, which stops the streaming.
    auto* source = reinterpret_cast<RichTextSource*>(cookie);
    *written = 0;
    try {
        auto read = [source](char* out, std::size_t max) -> std::size_t {
            source->stream->read(out, static_cast<std::streamsize>(max));
            if (source->stream->bad())
                throw Error("stream read error");
            return static_cast<std::size_t>(source->stream->gcount());
        };
        *written = static_cast<LONG>(source->chunker.Next(
            read, reinterpret_cast<char*>(buffer), static_cast<std::size_t>(size)));
        return 0;
    } catch (...) {
        return 1;
    }
}

}  // namespace

int StreamRichText(HWND viewer, std::istream& stream)
{
    RichTextSource source{&stream, {}};
    EDITSTREAM es = {};
    es.dwCookie = reinterpret_cast<DWORD_PTR>(&source);
    es.pfnCallback = StreamInCallback;
    SendMessageA(viewer, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&es));
    return static_cast<int>(es.dwError);
}

void StreamRichText(HWND viewer, const std::string& rtf)
{
    std::istringstream stream(rtf);
    StreamRichText(viewer, stream);
}

int RichLineCount(HWND viewer)
{
    if (::GetWindowTextLengthA(viewer) == 0)
        return 0;
    return static_cast<int>(::SendMessageA(viewer, EM_GETLINECOUNT, 0, 0));
}

namespace {

// Posted to the viewer when the first line of a burst is held; registered,
// so that it can mean nothing else to a RichEdit.
UINT FlushMessage()
{
    static const UINT message = ::RegisterWindowMessageA("QvReportFlush");
    return message;
}

}  // namespace

RichEditReportSink::RichEditReportSink(HWND viewer) : viewer_(viewer)
{
    if (viewer_)
        ::SetWindowSubclass(viewer_, ViewerProc, 0, reinterpret_cast<DWORD_PTR>(this));
}

RichEditReportSink::~RichEditReportSink()
{
    if (!viewer_)
        return;
    Flush();
    ::RemoveWindowSubclass(viewer_, ViewerProc, 0);
}

void RichEditReportSink::AddLine(const std::string& text, int size, const std::string& fontName)
{
    if (!viewer_)
        return;
    if (held_.empty())
        ::PostMessageA(viewer_, FlushMessage(), 0, 0);
    // A line that sets no format joins an insertion that set none either:
    // inserted alone it would take the format at the end of the text just
    // the same. After a line that set one, it goes in on its own, as it
    // would have without the burst.
    const bool formatted = size != 0 || !fontName.empty();
    if (held_.empty() || formatted || held_.back().size != 0 || !held_.back().fontName.empty())
        held_.push_back({size, fontName, {}});
    held_.back().text += text;
    held_.back().text += "\r\n";
    if (::IsWindowVisible(viewer_) && ::IsWindowEnabled(viewer_) && ::GetFocus() != viewer_)
        ::SetFocus(viewer_);
}

void RichEditReportSink::Flush()
{
    if (held_.empty() || flushing_ || !viewer_)
        return;
    timings::Scope measured(timings::Stage::ReportAppend);
    flushing_ = true;
    const std::vector<Insertion> insertions = std::move(held_);
    held_.clear();
    // The lines go in with the viewer's drawing switched off: otherwise the
    // viewer scrolls and redraws its scroll bar for every insertion, each a
    // round trip to the display that costs far more than the text itself.
    // Turned back on, the viewer shows the new end at its next paint.
    // Switching drawing back on also sets the window's visible style, so a
    // viewer without it is left alone.
    const bool drawing = (::GetWindowLongPtrA(viewer_, GWL_STYLE) & WS_VISIBLE) != 0;
    if (drawing)
        ::SendMessageA(viewer_, WM_SETREDRAW, FALSE, 0);
    for (const Insertion& insertion : insertions) {
        // Every line ends its own paragraph: the viewer always ends with an
        // empty one, where the next line goes.
        GETTEXTLENGTHEX len{GTL_NUMCHARS, CP_ACP};
        LRESULT end = ::SendMessageA(viewer_, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&len), 0);
        ::SendMessageA(viewer_, EM_SETSEL, end, end);
        if (insertion.size != 0 || !insertion.fontName.empty()) {
            CHARFORMATA cf{};
            cf.cbSize = sizeof cf;
            if (insertion.size != 0) {
                cf.dwMask |= CFM_SIZE;
                cf.yHeight = insertion.size * 20;  // points to twips
            }
            if (!insertion.fontName.empty()) {
                cf.dwMask |= CFM_FACE;
                std::strncpy(cf.szFaceName, insertion.fontName.c_str(), LF_FACESIZE - 1);
            }
            ::SendMessageA(viewer_, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
        }
        ::SendMessageA(viewer_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(insertion.text.c_str()));
    }
    if (drawing) {
        ::SendMessageA(viewer_, WM_SETREDRAW, TRUE, 0);
        ::RedrawWindow(viewer_, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
    }
    flushing_ = false;
}

LRESULT CALLBACK RichEditReportSink::ViewerProc(HWND viewer, UINT message, WPARAM wParam,
                                                LPARAM lParam, UINT_PTR, DWORD_PTR self)
{
    auto* sink = reinterpret_cast<RichEditReportSink*>(self);
    if (message == WM_NCDESTROY) {
        // Nobody can see the lines still held any more.
        sink->held_.clear();
        sink->viewer_ = nullptr;
        ::RemoveWindowSubclass(viewer, ViewerProc, 0);
    } else if (message == FlushMessage()) {
        sink->Flush();
        return 0;
    } else if (message != WM_DESTROY) {
        // Whatever is asked of the viewer, it answers with every line in.
        sink->Flush();
    }
    return ::DefSubclassProc(viewer, message, wParam, lParam);
}

}  // namespace qv::wizard
