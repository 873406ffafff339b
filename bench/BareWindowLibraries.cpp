// The bare window of BareWindow.cpp, linked as the wizard is linked: the
// same system libraries, the same manifest (version 6 of the common
// controls, with the visual style), the common controls initialised the
// same way. What it adds to the bare window's start is what the wizard pays
// before it creates a window of its own.
#include <windows.h>

#include <commctrl.h>
#include <commdlg.h>
#include <objbase.h>
#include <shellapi.h>

namespace {

// Never true; it keeps the imports of the libraries the wizard uses only
// later (printing, folder browsing, shell operations).
volatile bool never = false;

struct WizardLibraries {
    WizardLibraries()
    {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES | ICC_WIN95_CLASSES};
        ::InitCommonControlsEx(&icc);
        if (never) {
            ::PrintDlgA(nullptr);
            ::CoTaskMemFree(nullptr);
            ::SHFileOperationA(nullptr);
        }
    }
} libraries;

}  // namespace
