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
#include "core/Text.h"
#include "core/Texts.h"
#include "main/TfrmMain.h"
#include "pages/TfrmDisplayFile.h"
#include "pages/TfrmEndInstall.h"
#include "platform/win32/WindowsHelpers.h"

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
    RzLabelVersion->SetText(RzLabelVersion->Text() + win32::GetFileVersionRecord("").FileVersion);
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
    if (engine_.ReadEmbeddedLines("AppInfo1.txt", lines) > 0)
        RzLabelTitle->SetText(lines.front());
    if (engine_.ReadEmbeddedLines("AppInfo2.txt", lines) > 0) {
        WelcomeExtraText.clear();
        for (const std::string& line : lines)
            WelcomeExtraText += line + "\r\n";
    }
}

void TfrmMain::LoadUpdateInfo()
{
    engine_.LoadEmbeddedRichText("UpdateInfo.txt", frmDisplayFile_->RichEditFile());
}

void TfrmMain::ReadStepNames()
{
    engine_.ReadEmbeddedLines("Steps.txt", StepNames);
}

// Keeps the lines of Updates.txt that are part of a catalogue name (a loose
// filter: whether a line names a product is decided when the update runs),
// once each without regard to case.
void TfrmMain::ReadProductList()
{
    std::vector<std::string> lines;
    if (engine_.ReadEmbeddedLines("Updates.txt", lines) == 0)
        return;
    std::string filter;
    for (const std::string& name : engine_.ProductNames())
        filter += name + "\r\n";
    ProductList.clear();
    for (const std::string& line : lines) {
        if (line.empty() || filter.find(line) == std::string::npos)
            continue;
        bool known = std::any_of(ProductList.begin(), ProductList.end(), [&](const std::string& p) {
            return EqualsIgnoreCaseAscii(p, line);
        });
        if (!known)
            ProductList.push_back(line);
    }
}

std::string TfrmMain::RunHeader() const
{
    return Format(texts::kRunHeader, {RzLabelTitle->Text()}) + " " + RunTimestamp() + "\r\n";
}

void TfrmMain::RunUpdate()
{
    UpdateStarted = true;
    UpdateStatus status = UpdateStatus::Unknown;
    try {
        for (const std::string& name : ProductList) {
            ProductKind kind = engine_.ProductKindOf(name);
            CurrentProductKind = kind;
            if (kind == 0)
                continue;
            engine_.SetCurrentProductKind(kind);
            engine_.AddReportLine(RunHeader(), 10, "");

            ActionBack.SetEnabled(false);
            ActionNext.SetEnabled(false);
            ActionAnnuler.SetEnabled(false);
            running_ = true;
            struct Reenable {
                TfrmMain& f;
                ~Reenable()
                {
                    f.running_ = false;
                    f.ActionBack.SetEnabled(true);
                    f.ActionNext.SetEnabled(true);
                    f.ActionAnnuler.SetEnabled(true);
                }
            } reenable{*this};
            win32::Delay(100);  // lets the header paint
            auto procedure = procedures_.find(kind);
            if (procedure != procedures_.end() && procedure->second)
                status = procedure->second();
            break;  // only the first known product is updated
        }
        ShowReportStep();
        if (const char* line = ResultLine(status))
            engine_.AddReportLine(std::string("\r\n") + line, 10, "");
        HWND report = frmEndInstall_->RichEditReport();
        ::SendMessageA(report, EM_SCROLLCARET, 0, 0);
        ::SetFocus(report);
    } catch (const std::exception& e) {
        std::string message = e.what();
        // A silent abort has shown its message already.
        if (!dynamic_cast<const SilentAbort*>(&e))
            ui_.ShowErrorMessage(message);
        engine_.AddReportLine(message + "\r\n\r\n" + texts::kResultKo, 0, "");
    }
}

void TfrmMain::ShowReportStep()
{
    StepHistory.push_back(frmEndInstall_);
    ShowCurrentStep();
    UpdateActions();
}

}  // namespace qv::wizard
