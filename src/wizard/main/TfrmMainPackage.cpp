// TfrmMain: filling the wizard from the package, and the update run.
#include <windows.h>

#include <richedit.h>

#include "core/Manifests.h"
#include "core/ProductTables.h"
#include "core/Texts.h"
#include "main/TfrmMain.h"
#include "pages/TfrmDisplayFile.h"
#include "pages/TfrmEndInstall.h"
#include "platform/win32/WindowsHelpers.h"
#include "ui/RichText.h"

namespace qv::wizard {

void TfrmMain::LoadPackage()
{
    versionLabel_->SetText(versionLabel_->Text() + win32::GetFileVersionRecord("").FileVersion);
    engine_.SetReportTarget(&frmEndInstall_->Report());
    // Temporary file names are drawn from the random generator.
    engine_.Randomize();
    ReadAppInfo();
    LoadUpdateInfo();
    ReadStepNames();
    ReadProductList();
}

void TfrmMain::ReadAppInfo()
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

void TfrmMain::LoadUpdateInfo()
{
    RichEditViewer changes(frmDisplayFile_->RichEditFile());
    engine_.LoadEmbeddedRichText(manifest::kUpdateInfo, changes);
}

void TfrmMain::ReadStepNames()
{
    engine_.ReadEmbeddedLines(manifest::kSteps, stepNames_);
}

void TfrmMain::ReadProductList()
{
    productList_ = ReadPackageProducts(engine_);
}

ExitCode TfrmMain::Result() const
{
    return runState_ == RunState::Finished ? ExitCodeOf(outcome_) : ExitCode::Cancelled;
}

void TfrmMain::RunUpdate()
{
    runState_ = RunState::Running;
    outcome_ = RunUpdateFor(productList_, titleLabel_->Text(), engine_, ui_, procedures_, *this);
    runState_ = RunState::Finished;
}

void TfrmMain::ProcedureStarting()
{
    SetActionsEnabled(false);
    win32::Delay(100);  // lets the header paint
}

void TfrmMain::ProcedureEnded()
{
    SetActionsEnabled(true);
}

void TfrmMain::ResultWritten()
{
    HWND report = frmEndInstall_->RichEditReport();
    ::SendMessageA(report, EM_SCROLLCARET, 0, 0);
    ::SetFocus(report);
}

void TfrmMain::SetActionsEnabled(bool enabled)
{
    actionBack_.SetEnabled(enabled);
    actionNext_.SetEnabled(enabled);
    actionCancel_.SetEnabled(enabled);
}

void TfrmMain::ShowReport()
{
    ShowReportStep();
}

void TfrmMain::ShowReportStep()
{
    stepHistory_.push_back(frmEndInstall_);
    ShowCurrentStep();
    UpdateActions();
}

}  // namespace qv::wizard
