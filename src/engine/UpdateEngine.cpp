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
// Temporary numbers are drawn below this bound, at most this many times for
// one name.
constexpr std::uint32_t kTempNumberBound = 10000000;
constexpr int kTempNameDraws = 100;

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
    Randomize();
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
    const std::string folder = files_.TempFolder();
    for (int draw = 0; draw < kTempNameDraws; ++draw) {
        const std::string path = Format(
            "%s%s%d.tmp", {folder, prefix, static_cast<long long>(random_.Below(kTempNumberBound))});
        // A name of this run may still wait for its copy (the suite's marker
        // is copied last); any other file of that name belongs to someone
        // else.
        if (tempNames_.count(UpperAscii(path)) != 0 || !files_.CreateNewFile(path))
            continue;
        tempNames_.insert(UpperAscii(path));
        tempFiles_.push_back(path);
        return path;
    }
    throw Error(Format(texts::kTempNamesTaken, {folder, static_cast<long long>(kTempNameDraws)}));
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
