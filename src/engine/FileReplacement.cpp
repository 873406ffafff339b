#include "engine/FileReplacement.h"

#include <cstdint>

#include "core/Errors.h"
#include "core/Format.h"
#include "core/RunTimings.h"
#include "core/Texts.h"
#include "core/WindowsPath.h"

namespace qv {

namespace {
constexpr char kCrLf[] = "\r\n";
constexpr int kRepaintDelayMs = 10;

// The four numbers in their order of weight.
std::uint64_t VersionNumber(const FileVersionParts& v)
{
    return (std::uint64_t{v.major} << 48) | (std::uint64_t{v.minor} << 32) |
           (std::uint64_t{v.release} << 16) | v.build;
}

template <typename T>
Newer NewerOf(T installed, T packaged)
{
    if (installed == packaged)
        return Newer::Same;
    return installed < packaged ? Newer::Packaged : Newer::Installed;
}

}  // namespace

Newer CompareVersionsThenTimes(const FileStamp& installed, const FileStamp& packaged)
{
    if (!installed.present)
        return Newer::Packaged;
    if (installed.version && packaged.version)
        return NewerOf(VersionNumber(*installed.version), VersionNumber(*packaged.version));
    // Both times are shifted alike when read as local times: comparing them
    // as they are stored gives the same order.
    if (installed.writeTime && packaged.writeTime)
        return NewerOf(*installed.writeTime, *packaged.writeTime);
    return Newer::Packaged;
}

Newer CompareFiles(FileSystem& files, const std::string& installed, const std::string& packaged)
{
    if (!files.FileIsPresent(packaged))
        throw Error("File not found : " + packaged);
    FileStamp installedStamp, packagedStamp;
    packagedStamp.present = true;
    installedStamp.present = files.FileIsPresent(installed);
    if (!installedStamp.present)
        return Newer::Packaged;
    // Only what the rule will look at is read: the times only when the
    // versions cannot decide.
    if (FileVersionParts version; files.GetFileVersionParts(installed, version)) {
        installedStamp.version = version;
        if (files.GetFileVersionParts(packaged, version))
            packagedStamp.version = version;
    }
    if (!installedStamp.version || !packagedStamp.version) {
        if (FileTime time = 0; files.GetFileWriteTime(installed, time))
            installedStamp.writeTime = time;
        if (FileTime time = 0; files.GetFileWriteTime(packaged, time))
            packagedStamp.writeTime = time;
    }
    return CompareVersionsThenTimes(installedStamp, packagedStamp);
}

UpdateStatus FileReplacement::CompareAndReplace(const std::string& packaged,
                                                const std::string& installed, ReplaceMode mode)
{
    if (!files_.FileIsPresent(installed))
        throw Error(Format(texts::kInstalledFileMissing, {installed}));

    const std::string shortName = ExtractFileName(installed);
    UpdateStatus result;
    Newer newer;
    {
        timings::Scope measured(timings::Stage::Comparing);
        newer = CompareFiles(files_, installed, packaged);
    }
    switch (newer) {
    case Newer::Packaged:
        result = UpdateStatus::Ok;
        break;
    case Newer::Installed:
        user_.Beep(kBeepExclamation);
        if (user_.AskYesNo(texts::kReportTheFile + shortName + texts::kInstalledIsNewer1 + kCrLf +
                           texts::kInstalledIsNewer2 + kCrLf + texts::kInstalledIsNewer3)) {
            result = UpdateStatus::Ok;
        } else {
            report_.ReportNotReplaced(installed);
            result = UpdateStatus::Not;
        }
        break;
    case Newer::Same:
        user_.Beep(kBeepExclamation);
        if (user_.AskYesNo(texts::kReportTheFile + shortName + texts::kInstalledIsSame1 + kCrLf +
                           texts::kInstalledIsSame2))
            return UpdateStatus::Ok;  // go on, but this file is not copied
        report_.ReportUpToDate(installed);
        result = UpdateStatus::Not;
        break;
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
        throw CopyFailure(texts::kCopySourceLabel + source + kCrLf + texts::kCopyTargetLabel +
                              target + kCrLf + kCrLf + texts::kCopyErrorLabel + error,
                          error);
}

}  // namespace qv
