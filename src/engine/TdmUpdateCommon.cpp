#include "engine/TdmUpdateCommon.h"

#include "core/Format.h"
#include "core/Errors.h"
#include "core/Manifests.h"
#include "core/WindowsPath.h"

namespace qv {

namespace {
// Temporary numbers are drawn below this bound.
constexpr std::uint32_t kTempNumberBound = 10000000;

TFMultiSte LoadedCompanyList(FileSystem& files, qv::Registry& registry)
{
    TFMultiSte companies(files, registry);
    companies.LoadCompanies();
    return companies;
}
}

TdmUpdateCommon::TdmUpdateCommon(EmbeddedSource& source, FileSystem& files,
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
    connection_ = std::make_unique<TdmDBConnection>(user, versions, workstation);
    for (ModuleTimer& timer : connection_->Timers())
        connectionTimers_.push_back(messages.StartTimer(timer.intervalMs, std::move(timer.handler)));
    // 5. the print-parameter store over the connection module.
    structurePrinting_ = std::make_unique<TdmStructurePrinting>(*connection_);
}

TdmUpdateCommon::~TdmUpdateCommon()
{
    // While the helper that knows the temporary folder still exists.
    DeleteTempFiles(kTempMask);
    // The store's queries are registered with the connection module's
    // database manager: the store goes first, then the timers that call
    // into the connection module, then the module itself (closing the
    // database if one is still open).
    structurePrinting_.reset();
    connectionTimers_.clear();
    connection_.reset();
}

int TdmUpdateCommon::LoadFileNameLines()
{
    return ReadEmbeddedLines(manifest::kFileNames, fileNameLines_);
}

int TdmUpdateCommon::LoadPrintListLines()
{
    return ReadEmbeddedLines(manifest::kPrintLists, printListLines_);
}

std::string TdmUpdateCommon::TempFileName(const std::string& prefix)
{
    std::string path = Format("%s%s%d.tmp", {files_.TempFolder(), prefix,
                                             static_cast<long long>(random_.Below(kTempNumberBound))});
    if (files_.FileIsPresent(path))
        DeleteFileWithReport(path);
    return path;
}

bool TdmUpdateCommon::DeleteTempFiles(const std::string& mask)
{
    try {
        files_.DeleteMatchingFiles(files_.TempFolder() + mask);
        return true;
    } catch (...) {
        return false;
    }
}

bool TdmUpdateCommon::CopyListedFiles(const std::string& folder)
{
    bool allCopied = true;
    for (const std::string& line : fileNameLines_) {
        std::string source = WriteEmbeddedFile(line, TempFileName(kTempPrefix));
        try {
            CopyFileWithReport(source, AddBackslash(folder) + line);
        } catch (const Error&) {
            allCopied = false;  // reported by its copy lines; go on
        }
    }
    return allCopied;
}

}  // namespace qv
