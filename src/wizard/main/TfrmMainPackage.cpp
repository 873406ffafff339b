// TfrmMain: filling the wizard from the package, and the update run.
#include <windows.h>

#include <richedit.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "core/Errors.h"
#include "core/Format.h"
#include "core/Manifests.h"
#include "core/ProductTables.h"
#include "core/RunTimings.h"
#include "core/Texts.h"
#include "main/TfrmMain.h"
#include "pages/TfrmDisplayFile.h"
#include "pages/TfrmEndInstall.h"
#include "platform/win32/WindowsHelpers.h"
#include "ui/RichText.h"

namespace qv::wizard {

namespace {

// "dd.mm.yyyy hh:nn:ss" in local time, with the user's time separator.
std::string RunTimestamp()
{
    SYSTEMTIME t;
    ::GetLocalTime(&t);
    char sep[8] = ":";
    if (::GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STIME, sep, sizeof sep) <= 1)
        std::strcpy(sep, ":");
    char text[64];
    std::snprintf(text, sizeof text, "%02u.%02u.%04u %02u%s%02u%s%02u", t.wDay, t.wMonth, t.wYear,
                  t.wHour, sep, t.wMinute, sep, t.wSecond);
    return text;
}

const char* ResultLine(UpdateStatus status)
{
    switch (status) {
    case UpdateStatus::Ok: return texts::kResultOk;
    case UpdateStatus::Ko: return texts::kResultKo;
    case UpdateStatus::Not: return texts::kResultNot;
    case UpdateStatus::Warning: return texts::kResultWarning;
    default: return nullptr;
    }
}

}  // namespace

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
    std::vector<std::string> lines;
    if (engine_.ReadEmbeddedLines(manifest::kAppInfo1, lines) > 0)
        titleLabel_->SetText(lines.front());
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
    std::vector<std::string> lines;
    if (engine_.ReadEmbeddedLines(manifest::kUpdates, lines) > 0)
        productList_ = manifest::FilterUpdateLines(lines);
}

std::string TfrmMain::RunHeader() const
{
    return Format(texts::kRunHeader, {titleLabel_->Text()}) + " " + RunTimestamp() + "\r\n";
}

void TfrmMain::RunUpdate()
{
    runState_ = RunState::Running;
    timings::Scope measured(timings::Stage::Run);
    UpdateStatus status = UpdateStatus::Unknown;
    try {
        // Only the first product of a known kind is updated.
        auto known = std::find_if(productList_.begin(), productList_.end(), [](const std::string& name) {
            return ProductKindOf(name) != ProductKind::None;
        });
        if (known != productList_.end())
            status = RunProcedure(ProductKindOf(*known));
        ShowReportStep();
        if (const char* line = ResultLine(status))
            engine_.AddReportLine(std::string("\r\n") + line, 10, "");
        HWND report = frmEndInstall_->RichEditReport();
        ::SendMessageA(report, EM_SCROLLCARET, 0, 0);
        ::SetFocus(report);
    } catch (const SilentAbort&) {
        // It has shown its message already.
        engine_.AddReportLine(std::string("\r\n\r\n") + texts::kResultKo, 0, "");
    } catch (...) {
        const std::string message = CurrentErrorMessage();
        ui_.ShowErrorMessage(message);
        engine_.AddReportLine(message + "\r\n\r\n" + texts::kResultKo, 0, "");
    }
    runState_ = RunState::Finished;
}

// The header, then the kind's procedure with the three actions disabled.
// A kind without a procedure fails like a procedure that raised an error.
UpdateStatus TfrmMain::RunProcedure(ProductKind kind)
{
    engine_.SetCurrentProductKind(kind);
    engine_.AddReportLine(RunHeader(), 10, "");
    SetActionsEnabled(false);
    struct Reenable {
        TfrmMain& main;
        ~Reenable() { main.SetActionsEnabled(true); }
    } reenable{*this};
    win32::Delay(100);  // lets the header paint
    auto procedure = procedures_.find(kind);
    if (procedure == procedures_.end() || !procedure->second)
        throw Error(Format("No update procedure for kind %d", {KindNumber(kind)}));
    return procedure->second();
}

void TfrmMain::SetActionsEnabled(bool enabled)
{
    actionBack_.SetEnabled(enabled);
    actionNext_.SetEnabled(enabled);
    actionCancel_.SetEnabled(enabled);
}

void TfrmMain::ShowReportStep()
{
    stepHistory_.push_back(frmEndInstall_);
    ShowCurrentStep();
    UpdateActions();
}

}  // namespace qv::wizard
