#pragma once
// The wizard's main window: the step picture at the left, the title strip
// and the current step page at the right, the version label and the Back /
// Next / Cancel buttons at the bottom. It keeps the list of pages, the
// history of the pages shown, and runs the update when the report page is
// reached.
#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/UpdateStatus.h"
#include "main/WizardEngine.h"
#include "platform/UserInteraction.h"
#include "ui/Action.h"
#include "ui/BalloonHints.h"
#include "ui/GdiHandles.h"
#include "ui/Label.h"
#include "ui/Panel.h"
#include "ui/Window.h"

namespace qv::wizard {

class TFrmStep;
class TfrmWelcome;
class TfrmDisplayFile;
class TfrmEndInstall;

class TfrmMain : public Window {
public:
    // The update procedure of one product kind.
    using UpdateProcedure = std::function<UpdateStatus()>;

    TfrmMain(UserInteraction& ui, WizardEngine& engine);
    ~TfrmMain() override;

    // The pages and the engine must exist before the window is shown.
    void SetPages(TfrmWelcome& welcome, TfrmDisplayFile& displayFile, TfrmEndInstall& endInstall);
    // Adds a product-specific page that Steps.txt may name.
    void AddExtraPage(TFrmStep& page);
    // Binds a kind to its update procedure (the dispatch table).
    void SetUpdateProcedure(ProductKind kind, UpdateProcedure procedure);

    // Shows the window (FormShow runs then, the first time).
    void Show(int showCommand);

    // Runs whenever the application becomes idle.
    void ActionListMainUpdate();

    bool UpdateRunning() const { return running_; }

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Start-up and controller.
    void FormCreate();
    void FormShow();
    void CreateControls();
    void LayoutControls();
    void TimerOneTimeTimer();
    void BuildStepList();
    TFrmStep* CurrentStep() const;
    TFrmStep* NextStepAfter(TFrmStep* step) const;
    void UpdateActions();
    void ShowCurrentStep();
    void PanelCurrStepResize();
    void PanelImageResize();
    void ActionNextExecute();
    void ActionBackExecute();
    void ActionAnnulerExecute();
    void FormClose();

    // Package loading and update run.
    void LoadPackage();
    void ReadAppInfo();
    void LoadUpdateInfo();
    void ReadStepNames();
    void ReadProductList();
    void RunUpdate();
    void ShowReportStep();
    std::string RunHeader() const;

    UserInteraction& ui_;
    WizardEngine& engine_;

    // Controls.
    UniqueFont font_;          // MS Sans Serif 13 px: buttons, version label
    UniqueFont stepFont_;      // MS Sans Serif 17 px: the step area
    UniqueFont titleFont_;     // Arial bold 17 px: the title strip
    std::unique_ptr<Panel> PanelButtons;
    HWND BevelButtons = nullptr;
    std::unique_ptr<Label> RzLabelVersion;
    HWND ButtonPrev = nullptr;
    HWND ButtonNext = nullptr;
    HWND ButtonCancel = nullptr;
    std::unique_ptr<Panel> PanelImage;
    HWND ImageStep = nullptr;
    std::unique_ptr<Panel> PanelSteps;
    std::unique_ptr<Label> RzLabelTitle;
    std::unique_ptr<Panel> PanelCurrStep;
    std::unique_ptr<BalloonHints> RzBalloonHints;
    UniqueIcon icon_, smallIcon_;

    Action ActionBack;
    Action ActionNext;
    Action ActionAnnuler;

    // Pages (not owned).
    TfrmWelcome* frmWelcome_ = nullptr;
    TfrmDisplayFile* frmDisplayFile_ = nullptr;
    TfrmEndInstall* frmEndInstall_ = nullptr;
    std::vector<TFrmStep*> allPages_;

    // Controller state.
    std::vector<TFrmStep*> StepList;
    std::vector<TFrmStep*> StepHistory;
    std::vector<std::string> StepNames;
    std::string WelcomeExtraText;
    bool WelcomeShown = false;
    bool UpdateStarted = false;
    bool shown_ = false;
    bool running_ = false;  // a procedure is working

    // Package state.
    std::vector<std::string> ProductList;
    ProductKind CurrentProductKind = 0;
    std::map<ProductKind, UpdateProcedure> procedures_;
};

}  // namespace qv::wizard
