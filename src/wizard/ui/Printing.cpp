#include "ui/Printing.h"

#include <richedit.h>

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
    fr.chrg.cpMin = 0;
    fr.chrg.cpMax = -1;
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
