#pragma once
// Window classes and control identifiers of the wizard. The UI tests find
// the program's windows through these, so they are part of its contract.

namespace qv::wizard {

// Window classes.
inline constexpr char kMainWindowClass[] = "TfrmMain";
inline constexpr char kWelcomeClass[] = "TfrmWelcome";
inline constexpr char kDisplayFileClass[] = "TfrmDisplayFile";
inline constexpr char kEndInstallClass[] = "TfrmEndInstall";
inline constexpr char kPanelClass[] = "QvPanel";
inline constexpr char kLabelClass[] = "QvLabel";

// Controls of the main window.
enum MainControlId : int {
    kIdPanelButtons = 100,
    kIdBevelButtons,
    kIdLabelVersion,
    kIdButtonPrev,
    kIdButtonNext,
    kIdButtonCancel,
    kIdPanelImage,
    kIdImageStep,
    kIdPanelSteps,
    kIdLabelTitle,
    kIdPanelCurrStep,
};

// Controls of the step pages.
enum PageControlId : int {
    kIdLabelInfo = 200,      // welcome text
    kIdPageStrip,            // title strip of the two printable pages
    kIdSpeedButtonPrint,
    kIdRichEditFile,         // list of changes
    kIdPanelMain,
    kIdRichEditReport,       // installation report
};

}  // namespace qv::wizard
