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

#include "core/ProductTables.h"
#include "core/ExitCode.h"
#include "core/UpdateStatus.h"
#include "main/UpdateRun.h"
#include "main/WizardEngine.h"
#include "platform/UserInteraction.h"
#include "ui/Action.h"
#include "ui/BalloonHints.h"
#include "ui/GdiHandles.h"
#include "ui/Label.h"
#include "ui/Panel.h"
#include "ui/Window.h"

namespace qv::wizard {

class WizardPage;
class WelcomePage;
class ChangesPage;
class ReportPage;

class WizardWindow : public Window, private UpdateRunFront {
public:
    // The update procedure of one product kind.
    using UpdateProcedure = BoundProcedure;

    WizardWindow(UserInteraction& ui, WizardEngine& engine);
    ~WizardWindow() override;

    // The pages and the engine must exist before the window is shown.
    void SetPages(WelcomePage& welcome, ChangesPage& displayFile, ReportPage& endInstall);
    // Adds a product-specific page that Steps.txt may name.
    void AddExtraPage(WizardPage& page);
    // Binds a kind to its update procedure (the dispatch table). A kind
    // without one makes the run fail with an error.
    void SetUpdateProcedure(ProductKind kind, UpdateProcedure procedure);

    // Shows the window (FirstShown runs then, the first time).
    void Show(int showCommand);

    // Runs whenever the application becomes idle: re-evaluates the actions.
    void OnIdle();

    // What the program's exit code tells: Cancelled until the update run
    // has ended, then how it ended.
    ExitCode Result() const;

private:
    // Where the update run stands: it starts once, and a title-bar close is
    // refused while it runs.
    enum class RunState { NotStarted, Running, Finished };

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Start-up and controller.
    void Initialize();  // the controls, the actions and the start timer
    void FirstShown();
    void CreateControls();
    void LayoutControls();
    void StartTimerFired();
    void BuildStepList();
    WizardPage* CurrentStep() const;
    WizardPage* NextStepAfter(WizardPage* step) const;
    void UpdateActions();
    void ShowCurrentStep();
    void LayOutPagePanel();
    void LayOutPicture();
    void ActionNextExecute();
    void ActionBackExecute();
    void ActionCancelExecute();
    bool UpdateStarted() const { return runState_ != RunState::NotStarted; }

    // Package loading and update run.
    void LoadPackage();
    void ReadAppInfo();
    void LoadUpdateInfo();
    void ReadStepNames();
    void ReadProductList();
    void RunUpdate();
    void SetActionsEnabled(bool enabled);
    void ShowReportStep();
    // The run's hooks into the window.
    void ProcedureStarting() override;
    void ProcedureEnded() override;
    void ShowReport() override;
    void ResultWritten() override;

    UserInteraction& ui_;
    WizardEngine& engine_;

    // Controls.
    UniqueFont font_;          // MS Sans Serif 13 px: buttons, version label
    UniqueFont stepFont_;      // MS Sans Serif 17 px: the step area
    UniqueFont titleFont_;     // Arial bold 17 px: the title strip
    std::unique_ptr<Panel> buttonBar_;
    HWND buttonBarBevel_ = nullptr;
    std::unique_ptr<Label> versionLabel_;
    HWND buttonPrev_ = nullptr;
    HWND buttonNext_ = nullptr;
    HWND buttonCancel_ = nullptr;
    std::unique_ptr<Panel> picturePanel_;
    HWND imageStep_ = nullptr;
    std::unique_ptr<Panel> stepsPanel_;
    std::unique_ptr<Label> titleLabel_;
    std::unique_ptr<Panel> pagePanel_;
    std::unique_ptr<BalloonHints> balloonHints_;
    UniqueIcon icon_, smallIcon_;

    Action actionBack_;
    Action actionNext_;
    Action actionCancel_;

    // Pages (not owned).
    WelcomePage* welcomePage_ = nullptr;
    ChangesPage* changesPage_ = nullptr;
    ReportPage* reportPage_ = nullptr;
    std::vector<WizardPage*> allPages_;

    // Controller state. The history is empty until the start timer pushes
    // the welcome page.
    std::vector<WizardPage*> stepList_;
    std::vector<WizardPage*> stepHistory_;
    std::vector<std::string> stepNames_;
    std::string welcomeExtraText_;
    bool formShown_ = false;
    RunState runState_ = RunState::NotStarted;

    // Package state.
    std::vector<std::string> productList_;
    ProcedureTable procedures_;
    RunOutcome outcome_;
};

}  // namespace qv::wizard
