#include "ui/Printing.h"

#include <richedit.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/Errors.h"
#include "core/Texts.h"

namespace qv::wizard {
namespace {

// Ends the print job on every path: EndDoc after success, AbortDoc otherwise.
class PrintJob {
public:
    PrintJob(HDC dc, const std::string& name) : dc_(dc)
    {
        DOCINFOA di{};
        di.cbSize = sizeof di;
        di.lpszDocName = name.c_str();
        if (::StartDocA(dc_, &di) <= 0)
            throw Error(texts::kPrintFailed);
    }
    ~PrintJob()
    {
        if (!done_)
            ::AbortDoc(dc_);
    }
    void Finish()
    {
        done_ = true;
        if (::EndDoc(dc_) <= 0)
            throw Error(texts::kPrintFailed);
    }

private:
    HDC dc_;
    bool done_ = false;
};

// The viewer's plain text, paragraphs separated by CR LF.
std::string PlainText(HWND viewer)
{
    GETTEXTLENGTHEX len{GTL_NUMBYTES | GTL_USECRLF, CP_ACP};
    LONG bytes = static_cast<LONG>(
        ::SendMessageA(viewer, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&len), 0));
    if (bytes <= 0)
        return {};
    std::string text(static_cast<std::size_t>(bytes) + 1, '\0');
    GETTEXTEX get{static_cast<DWORD>(text.size()), GT_USECRLF, CP_ACP, nullptr, nullptr};
    LRESULT got = ::SendMessageA(viewer, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get),
                                 reinterpret_cast<LPARAM>(text.data()));
    text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return text;
}

// Breaks one paragraph into lines no wider than width, at spaces where it
// can; a word wider than a line is cut where the line ends.
void WrapParagraph(HDC dc, const std::string& paragraph, int width, std::vector<std::string>& lines)
{
    std::size_t start = 0;
    do {
        std::size_t fits = paragraph.size() - start;
        SIZE extent{};
        int fit = 0;
        ::GetTextExtentExPointA(dc, paragraph.c_str() + start, static_cast<int>(fits), width, &fit,
                                nullptr, &extent);
        std::size_t end = start + static_cast<std::size_t>(std::max(fit, 1));
        if (end < paragraph.size()) {
            std::size_t space = paragraph.rfind(' ', end);
            if (space != std::string::npos && space > start)
                end = space + 1;  // the space stays at the end of the line
        } else {
            end = paragraph.size();
        }
        lines.push_back(paragraph.substr(start, end - start));
        start = end;
    } while (start < paragraph.size());
}

// Prints the viewer's text line by line in one plain font, for a viewer
// that lays out no page on a printer (some rich-text controls cannot).
void PrintPlainText(HWND viewer, HDC printer, int dpiY)
{
    const int width = ::GetDeviceCaps(printer, HORZRES);
    const int height = ::GetDeviceCaps(printer, VERTRES);
    LOGFONTA face{};
    face.lfHeight = -::MulDiv(10, dpiY, 72);
    face.lfCharSet = ANSI_CHARSET;
    lstrcpynA(face.lfFaceName, "Arial", LF_FACESIZE);
    UniqueFont font(::CreateFontIndirectA(&face));
    if (!font)
        throw Error(texts::kPrintFailed);
    HGDIOBJ previous = ::SelectObject(printer, font.get());
    TEXTMETRICA metrics{};
    ::GetTextMetricsA(printer, &metrics);
    const int lineHeight = metrics.tmHeight + metrics.tmExternalLeading;

    std::vector<std::string> lines;
    const std::string text = PlainText(viewer);
    for (std::size_t at = 0;;) {
        std::size_t end = text.find("\r\n", at);
        std::string paragraph = text.substr(at, end == std::string::npos ? std::string::npos : end - at);
        if (paragraph.empty())
            lines.emplace_back();
        else
            WrapParagraph(printer, paragraph, width, lines);
        if (end == std::string::npos)
            break;
        at = end + 2;
    }
    while (!lines.empty() && lines.back().empty())
        lines.pop_back();

    std::size_t next = 0;
    do {
        if (::StartPage(printer) <= 0)
            throw Error(texts::kPrintFailed);
        ::SelectObject(printer, font.get());  // a new page may reset the selection
        for (int y = 0; next < lines.size() && y + lineHeight <= height; y += lineHeight, ++next)
            ::TextOutA(printer, 0, y, lines[next].c_str(), static_cast<int>(lines[next].size()));
        if (::EndPage(printer) <= 0)
            throw Error(texts::kPrintFailed);
    } while (next < lines.size());
    ::SelectObject(printer, previous);
}

}  // namespace

UniqueCreatedDc PrinterSetupDialog::Execute(HWND owner)
{
    PRINTDLGA pd{};
    pd.lStructSize = sizeof pd;
    pd.hwndOwner = owner;
    // The dialog may free these and hand back others: they are the dialog's
    // while it runs.
    pd.hDevMode = devMode_.release();
    pd.hDevNames = devNames_.release();
    pd.Flags = PD_PRINTSETUP | PD_RETURNDC;
    BOOL ok = ::PrintDlgA(&pd);
    devMode_.reset(pd.hDevMode);
    devNames_.reset(pd.hDevNames);
    if (!ok) {
        if (::CommDlgExtendedError() == 0)
            return UniqueCreatedDc();  // cancelled
        throw Error(texts::kNoPrinter);
    }
    if (!pd.hDC)
        throw Error(texts::kNoPrinter);
    return UniqueCreatedDc(pd.hDC);
}

void PrintRichText(HWND viewer, HDC printer, const std::string& jobName)
{
    // The printable area, in twips, from the printer's origin.
    int dpiX = ::GetDeviceCaps(printer, LOGPIXELSX);
    int dpiY = ::GetDeviceCaps(printer, LOGPIXELSY);
    if (dpiX <= 0 || dpiY <= 0)
        throw Error(texts::kPrintFailed);
    RECT page{0, 0, ::MulDiv(::GetDeviceCaps(printer, HORZRES), 1440, dpiX),
              ::MulDiv(::GetDeviceCaps(printer, VERTRES), 1440, dpiY)};

    PrintJob job(printer, jobName);
    GETTEXTLENGTHEX len{GTL_NUMCHARS, CP_ACP};
    LONG total = static_cast<LONG>(
        ::SendMessageA(viewer, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&len), 0));

    FORMATRANGE fr{};
    fr.hdc = printer;
    fr.hdcTarget = printer;
    fr.rcPage = page;
    fr.rc = page;
    fr.chrg.cpMin = 0;
    fr.chrg.cpMax = -1;
    // A viewer that lays out nothing of its first page would print blank
    // pages: its text is then printed plainly.
    LONG firstPage = static_cast<LONG>(
        ::SendMessageA(viewer, EM_FORMATRANGE, FALSE, reinterpret_cast<LPARAM>(&fr)));
    ::SendMessageA(viewer, EM_FORMATRANGE, FALSE, 0);
    if (total > 0 && firstPage <= 0) {
        PrintPlainText(viewer, printer, dpiY);
        job.Finish();
        return;
    }
    do {
        fr.rc = page;
        if (::StartPage(printer) <= 0)
            throw Error(texts::kPrintFailed);
        LONG next = static_cast<LONG>(
            ::SendMessageA(viewer, EM_FORMATRANGE, TRUE, reinterpret_cast<LPARAM>(&fr)));
        if (::EndPage(printer) <= 0)
            throw Error(texts::kPrintFailed);
        // A page that takes nothing would loop for ever.
        if (next <= fr.chrg.cpMin)
            break;
        fr.chrg.cpMin = next;
    } while (fr.chrg.cpMin < total);
    ::SendMessageA(viewer, EM_FORMATRANGE, FALSE, 0);  // frees the viewer's cached data
    job.Finish();
}

void PrintViewer(PrinterSetupDialog& dialog, HWND owner, HWND viewer, const std::string& jobName)
{
    UniqueCreatedDc printer = dialog.Execute(owner);
    if (printer)
        PrintRichText(viewer, printer.get(), jobName);
}

}  // namespace qv::wizard
