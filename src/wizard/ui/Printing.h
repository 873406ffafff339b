#pragma once
// Printing a rich-text viewer: the printer-setup dialog, then the whole
// content, with its formatting, over the printable area page after page.
#include <windows.h>

#include <commdlg.h>

#include <string>

#include "platform/win32/Win32Handles.h"
#include "ui/GdiHandles.h"

namespace qv::wizard {

class PrinterSetupDialog {
public:

    // Shows the dialog. Returns a DC of the chosen printer, or an empty one
    // when the user cancelled. Raises an error when no printer can be used.
    // The choice is kept for the next time.
    UniqueCreatedDc Execute(HWND owner);

private:
    // The chosen printer and its settings, handed back to the next dialog.
    win32::UniqueGlobalMemory devMode_;
    win32::UniqueGlobalMemory devNames_;
};

// Prints the viewer's whole content as one print job named jobName.
// Raises an error when the printer refuses the job.
void PrintRichText(HWND viewer, HDC printer, const std::string& jobName);

// Shows the dialog and, unless it was cancelled, prints the viewer.
void PrintViewer(PrinterSetupDialog& dialog, HWND owner, HWND viewer, const std::string& jobName);

}  // namespace qv::wizard
