#include "engine/FileReplacement.h"

#include "core/Errors.h"
#include "core/Format.h"
#include "core/RunTimings.h"
#include "core/Texts.h"
#include "core/WindowsPath.h"

namespace qv {

namespace {
constexpr char kCrLf[] = "\r\n";
constexpr int kRepaintDelayMs = 10;
}  // namespace

UpdateStatus FileReplacement::CompareAndReplace(const std::string& packaged,
                                                const std::string& installed, ReplaceMode mode)
{
    if (!files_.FileIsPresent(installed))
        throw Error(Format(texts::kInstalledFileMissing, {installed}));

    const std::string shortName = ExtractFileName(installed);
    UpdateStatus result;
    int comparison;
    {
        timings::Scope measured(timings::Stage::Comparing);
        comparison = files_.CompareFiles(installed, packaged);
    }
    switch (comparison) {
    case 1:
        result = UpdateStatus::Ok;
        break;
    case -1:
        user_.Beep(kBeepExclamation);
        if (user_.AskYesNo(texts::kReportTheFile + shortName + texts::kInstalledIsNewer1 + kCrLf +
                           texts::kInstalledIsNewer2 + kCrLf + texts::kInstalledIsNewer3)) {
            result = UpdateStatus::Ok;
        } else {
            report_.ReportNotReplaced(installed);
            result = UpdateStatus::Not;
        }
        break;
    case 0:
        user_.Beep(kBeepExclamation);
        if (user_.AskYesNo(texts::kReportTheFile + shortName + texts::kInstalledIsSame1 + kCrLf +
                           texts::kInstalledIsSame2))
            return UpdateStatus::Ok;  // go on, but this file is not copied
        report_.ReportUpToDate(installed);
        result = UpdateStatus::Not;
        break;
    default:
        throw Error(Format(texts::kCompareFailed, {installed}));
    }

    if (result == UpdateStatus::Ok && mode == ReplaceMode::Replace) {
        try {
            CopyFileWithReport(packaged, installed);
        } catch (...) {
            result = UpdateStatus::Ko;  // the two copy lines tell the story
        }
    }
    return result;
}

void FileReplacement::CopyFileWithReport(const std::string& source, const std::string& target)
{
    report_.ReportCopy(source, target);
    messages_.Delay(kRepaintDelayMs);

    bool ok = true;
    {
        timings::Scope measured(timings::Stage::Attributes);
        if (files_.FileIsPresent(target) && !files_.SetNormalAttributes(target))
            ok = false;
    }
    if (ok) {
        timings::Scope measured(timings::Stage::Copying);
        if (!files_.CopyFileOver(source, target))
            ok = false;
    }
    // Taken before the attributes are reset, so it names the failure itself.
    std::string error = ok ? std::string() : files_.LastFailureMessage();
    {
        timings::Scope measured(timings::Stage::Attributes);
        files_.SetNormalAttributes(target);
    }
    if (!ok)
        throw Error(texts::kCopySourceLabel + source + kCrLf + texts::kCopyTargetLabel + target +
                    kCrLf + kCrLf + texts::kCopyErrorLabel + error);
}

}  // namespace qv
