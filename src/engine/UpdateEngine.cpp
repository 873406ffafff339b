#include "engine/UpdateEngine.h"

#include "core/Format.h"
#include "core/Errors.h"
#include "core/Manifests.h"
#include "core/RunTimings.h"
#include "core/Text.h"
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

namespace {
// Reads a manifest of names into lines; a line naming a file the program
// must not create refuses the whole manifest, lines left empty.
int LoadNameLines(EmbeddedFiles& embedded, const char* manifestName, std::vector<std::string>& lines)
{
    const int count = embedded.ReadEmbeddedLines(manifestName, lines);
    try {
        manifest::CheckInstalledNameLines(manifestName, lines);
    } catch (...) {
        lines.clear();
        throw;
    }
    return count;
}
}  // namespace

int UpdateEngine::LoadFileNameLines()
{
    return LoadNameLines(embedded_, manifest::kFileNames, fileNameLines_);
}

int UpdateEngine::LoadPrintListLines()
{
    return LoadNameLines(embedded_, manifest::kPrintLists, printListLines_);
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

bool UpdateEngine::CopyListedFiles(const std::string& folder)
{
    bool allCopied = true;
    for (const std::string& line : fileNameLines_) {
        std::string source = WriteEmbeddedFile(line, TempFileName(kTempPrefix));
        try {
            CopyFileWithReport(source, AddBackslash(folder) + line);
        } catch (...) {
            allCopied = false;  // reported by its copy lines; go on
        }
    }
    return allCopied;
}

}  // namespace qv
