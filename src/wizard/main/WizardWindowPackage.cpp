// WizardWindow: filling the wizard from the package, and the update run.
#include <windows.h>

#include <richedit.h>

#include "core/Manifests.h"
#include "core/ProductTables.h"
#include "core/Texts.h"
#include "main/WizardWindow.h"
#include "pages/ChangesPage.h"
#include "pages/ReportPage.h"
#include "platform/win32/WindowsHelpers.h"
#include "ui/RichText.h"

namespace qv::wizard {

void WizardWindow::LoadPackage()
{
    versionLabel_->SetText(versionLabel_->Text() + win32::GetFileVersionRecord("").FileVersion);
    engine_.SetReportTarget(&reportPage_->Report());
    // Temporary file names are drawn from the random generator.
    engine_.Randomize();
    ReadAppInfo();
    LoadUpdateInfo();
    ReadStepNames();
    ReadProductList();
}

void WizardWindow::ReadAppInfo()
{
    const std::string title = ReadPackageTitle(engine_);
    if (!title.empty())
        titleLabel_->SetText(title);
    std::vector<std::string> lines;
    if (engine_.ReadEmbeddedLines(manifest::kAppInfo2, lines) > 0) {
        welcomeExtraText_.clear();
        for (const std::string& line : lines)
            welcomeExtraText_ += line + "\r\n";
    }
}

void WizardWindow::LoadUpdateInfo()
{
    RichEditViewer changes(changesPage_->RichEditFile());
    engine_.LoadEmbeddedRichText(manifest::kUpdateInfo, changes);
}

void WizardWindow::ReadStepNames()
{
    engine_.ReadEmbeddedLines(manifest::kSteps, stepNames_);
}

void WizardWindow::ReadProductList()
{
    productList_ = ReadPackageProducts(engine_);
}

ExitCode WizardWindow::Result() const
{
    return runState_ == RunState::Finished ? ExitCodeOf(outcome_) : ExitCode::Cancelled;
}

void WizardWindow::RunUpdate()
{
    runState_ = RunState::Running;
    outcome_ = RunUpdateFor(productList_, titleLabel_->Text(), engine_, ui_, procedures_, *this);
    runState_ = RunState::Finished;
}

void WizardWindow::ProcedureStarting()
{
    SetActionsEnabled(false);
    win32::Delay(100);  // lets the header paint
}

void WizardWindow::ProcedureEnded()
{
    SetActionsEnabled(true);
}

void WizardWindow::ResultWritten()
{
    HWND report = reportPage_->RichEditReport();
    ::SendMessageA(report, EM_SCROLLCARET, 0, 0);
    ::SetFocus(report);
}

void WizardWindow::SetActionsEnabled(bool enabled)
{
    actionBack_.SetEnabled(enabled);
    actionNext_.SetEnabled(enabled);
    actionCancel_.SetEnabled(enabled);
}

void WizardWindow::ShowReport()
{
    ShowReportStep();
}

void WizardWindow::ShowReportStep()
{
    stepHistory_.push_back(reportPage_);
    ShowCurrentStep();
    UpdateActions();
}

}  // namespace qv::wizard
