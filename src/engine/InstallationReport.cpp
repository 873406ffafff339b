#include "engine/InstallationReport.h"

#include "core/Format.h"
#include "core/RunTimings.h"
#include "core/Texts.h"

namespace qv {

namespace {
constexpr char kCrLf[] = "\r\n";
}

void InstallationReport::AddReportLine(const std::string& text, int size,
                                       const std::string& fontName)
{
    if (!target_)
        return;
    timings::Scope measured(timings::Stage::ReportLine);
    target_->AddLine(text, size, fontName);
}

void InstallationReport::DeleteFileWithReport(const std::string& path)
{
    AddReportLine(Format(texts::kReportFileDeleted, {path}) + kCrLf);
    files_.RemoveFile(path);
}

void InstallationReport::ReportUpToDate(const std::string& path)
{
    AddReportLine(texts::kReportTheFile + path);
    AddReportLine(std::string(texts::kReportUpToDate) + kCrLf);
}

void InstallationReport::ReportNotReplaced(const std::string& path)
{
    AddReportLine(texts::kReportTheFile + path);
    AddReportLine(std::string(texts::kReportNotReplaced) + kCrLf);
}

void InstallationReport::ReportCopy(const std::string& source, const std::string& target)
{
    AddReportLine(texts::kReportCopyOf + source);
    AddReportLine(texts::kReportCopyTo + target + kCrLf);
}

void InstallationReport::ReportCopyFailed(const std::string& target, const std::string& reason)
{
    // The system's text may end with its own line break: one is enough.
    std::string text = reason;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    AddReportLine(Format(texts::kReportCopyFailed, {target}) + kCrLf + text + kCrLf);
}

}  // namespace qv
