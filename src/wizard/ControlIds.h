#pragma once
// Window classes and control identifiers of the wizard. The UI tests find
// the program's windows through these, so they are part of its contract.

namespace qv::wizard {

// Window classes.
inline constexpr char kMainWindowClass[] = "QvWizardWindow";
inline constexpr char kWelcomePageClass[] = "QvWelcomePage";
inline constexpr char kChangesPageClass[] = "QvChangesPage";
inline constexpr char kReportPageClass[] = "QvReportPage";
inline constexpr char kPanelClass[] = "QvPanel";
inline constexpr char kLabelClass[] = "QvLabel";
inline constexpr char kCompanyListClass[] = "QvCompanyList";
inline constexpr char kProgressWindowClass[] = "QvProgress";  // /SILENT's window

// Controls of the main window.
enum MainControlId : int {
    kIdButtonBar = 100,      // the strip of Back / Next / Cancel along the bottom
    kIdButtonBarBevel,       // its separator line
    kIdVersionLabel,
    kIdButtonPrev,
    kIdButtonNext,
    kIdButtonCancel,
    kIdPicturePanel,
    kIdImageStep,
    kIdStepsPanel,
    kIdTitleLabel,
    kIdPagePanel,
};

// Controls of the step pages.
enum PageControlId : int {
    kIdWelcomeLabel = 200,   // welcome text
    kIdTitleStrip,           // title strip of the two printable pages
    kIdSpeedButtonPrint,
    kIdRichEditFile,         // list of changes
    kIdReportPanel,
    kIdRichEditReport,       // installation report (also in the progress window)
    kIdProgressTitle,        // the package's title in the progress window
};

// Controls of the company-selection dialog. OK and Annuler carry the
// standard ids, so Enter and Escape reach them the usual way.
enum CompanyDialogControlId : int {
    kIdCompanyOk = 1,      // IDOK
    kIdCompanyCancel = 2,  // IDCANCEL
    kIdCompanyLabel = 300,
    kIdCompanyList,
    kIdCompanyButtons,     // the button strip along the bottom
    kIdCompanyInfo,        // hidden: names the company file
};

}  // namespace qv::wizard
