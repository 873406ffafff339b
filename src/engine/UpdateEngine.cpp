#include "engine/UpdateEngine.h"

#include <algorithm>

#include "core/Format.h"
#include "core/Errors.h"
#include "core/Manifests.h"
#include "core/RunTimings.h"
#include "core/ScopeExit.h"
#include "core/Text.h"
#include "core/Texts.h"
#include "core/WindowsPath.h"

namespace qv {

namespace {
// Temporary numbers are drawn below this bound.
constexpr std::uint32_t kTempNumberBound = 10000000;

CompanyList LoadedCompanyList(FileSystem& files, qv::Registry& registry)
{
    CompanyList companies(files, registry);
    companies.LoadCompanies();
    return companies;
}
}

UpdateEngine::UpdateEngine(EmbeddedSource& source, FileSystem& files,
                           qv::Registry& registry, UserInteraction& user,
                           MessageLoop& messages, FirebirdVersionSource& versions,
                           Workstation& workstation)
    : companies_(LoadedCompanyList(files, registry)),
      files_(files),
      registry_(registry),
      user_(user),
      report_(files),
      embedded_(source, files),
      locator_(files, user),
      replacement_(files, user, messages, report_)
{
    // The creation order is fixed:
    // 1. the company list, loaded at once: companies_ above;
    // 2. the installer helper: files_, given by the caller;
    // 3. the print-list lines and the file-name lines: members above;
    // 4. the connection module, its timers ticking from now on;
    connection_ = std::make_unique<ProductDatabase>(user, versions, workstation);
    for (ModuleTimer& timer : connection_->Timers())
        connectionTimers_.push_back(messages.StartTimer(timer.intervalMs, std::move(timer.handler)));
    // 5. the print-parameter store over the connection module.
    printParams_ = std::make_unique<PrintParamsStore>(*connection_);
}

UpdateEngine::~UpdateEngine()
{
    // While the file helper still exists.
    DeleteTempFiles();
    // The store's queries run on the connection module's transaction: the
    // store goes first, then the timers that call into the connection
    // module, then the module itself (closing the database if one is still
    // open).
    printParams_.reset();
    connectionTimers_.clear();
    connection_.reset();
}

int UpdateEngine::LoadFileNameLines()
{
    return ReadEmbeddedLines(manifest::kFileNames, fileNameLines_);
}

int UpdateEngine::LoadPrintListLines()
{
    return ReadEmbeddedLines(manifest::kPrintLists, printListLines_);
}

std::string UpdateEngine::TempFileName(const std::string& prefix)
{
    timings::Scope measured(timings::Stage::TempName);
    // A name of this run may still wait for its copy (the suite's marker is
    // copied last): handing it out again would overwrite it.
    if (tempNames_.size() >= kTempNumberBound)
        throw Error("No temporary file name left");
    const std::string folder = files_.TempFolder();
    std::string path;
    do {
        path = Format("%s%s%d.tmp", {folder, prefix,
                                     static_cast<long long>(random_.Below(kTempNumberBound))});
    } while (tempNames_.count(UpperAscii(path)) != 0);

    if (files_.FileIsPresent(path))
        DeleteFileWithReport(path);
    tempNames_.insert(UpperAscii(path));
    tempFiles_.push_back(path);
    return path;
}

bool UpdateEngine::DeleteTempFiles()
{
    // One by one with the plain file call, which never shows a dialog; only
    // this run's names, so other programs' files stay.
    bool allGone = true;
    for (const std::string& path : tempFiles_) {
        try {
            if (files_.FileIsPresent(path))
                files_.RemoveFile(path);
        } catch (...) {
            allGone = false;  // in use: it stays
        }
    }
    return allGone;
}

void UpdateEngine::DiscardTempFile(const std::string& path)
{
    auto it = std::find(tempFiles_.begin(), tempFiles_.end(), path);
    if (it == tempFiles_.end())
        return;
    try {
        if (files_.FileIsPresent(path))
            files_.RemoveFile(path);
        tempFiles_.erase(it);  // its name is still never handed out again
    } catch (...) {
        // Still in use: the clean-up at the end tries again.
    }
}

UpdateStatus UpdateEngine::CompareAndReplace(const std::string& packaged,
                                             const std::string& installed, ReplaceMode mode)
{
    if (mode == ReplaceMode::CompareOnly)
        return replacement_.CompareAndReplace(packaged, installed, mode);
    const ScopeExit discard([&] { DiscardTempFile(packaged); });
    return replacement_.CompareAndReplace(packaged, installed, mode);
}

void UpdateEngine::CopyFileWithReport(const std::string& source, const std::string& target)
{
    const ScopeExit discard([&] { DiscardTempFile(source); });
    replacement_.CopyFileWithReport(source, target);
}

bool UpdateEngine::CopyListedFiles(const std::string& folder)
{
    bool allCopied = true;
    for (const std::string& line : fileNameLines_) {
        const std::string temporary = TempFileName(kTempPrefix);
        // Gone once copied, so that a run cut short leaves at most this one.
        const ScopeExit discard([&] { DiscardTempFile(temporary); });
        const std::string source = WriteEmbeddedFile(line, temporary);
        const std::string target = AddBackslash(folder) + line;
        // A failed copy is said in the report, with why; the next file goes on.
        try {
            CopyFileWithReport(source, target);
        } catch (const CopyFailure& failure) {
            allCopied = false;
            report_.ReportCopyFailed(target, source.empty() ? std::string(texts::kReportNotPackaged)
                                                            : failure.Reason());
        } catch (...) {
            allCopied = false;
            report_.ReportCopyFailed(target, CurrentErrorMessage());
        }
    }
    return allCopied;
}

}  // namespace qv
