#pragma once
// The update engine: created once at start-up, it owns the engine's helpers
// and hands the update procedures the package, the report and the temporary
// files. A temporary file made with TempFileName goes as soon as its copy is
// done; what is left (a file whose copy never came, or one still in use) is
// deleted when the engine is destroyed at program exit.
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "core/ProductTables.h"
#include "core/PseudoRandom.h"
#include "core/UpdateStatus.h"
#include "database/ProductDatabase.h"
#include "database/PrintParamsStore.h"
#include "engine/CompanyList.h"
#include "engine/EmbeddedFiles.h"
#include "engine/FileReplacement.h"
#include "engine/InstallationLocator.h"
#include "engine/InstallationReport.h"
#include "platform/EmbeddedSource.h"
#include "platform/FileSystem.h"
#include "platform/MessageLoop.h"
#include "platform/Registry.h"
#include "platform/UserInteraction.h"

namespace qv {

class FirebirdVersionSource;
class Workstation;

// Every temporary file of a run is named after this prefix.
inline constexpr char kTempPrefix[] = "Update";

class UpdateEngine {
public:
    // source: the packaged files; files: the file system, which also plays
    // the installer helper's part (temporary folder, versions and times);
    // registry, user and messages: the rest of the OS the engine reaches
    // (the connection module's timers tick on messages' loop); versions and
    // workstation: what the connection module asks about the Firebird
    // client and server and about this workstation. All must outlive the
    // engine. Loads the company list first: when that raises, nothing else
    // of the engine has been made.
    UpdateEngine(EmbeddedSource& source, FileSystem& files, Registry& registry,
                 UserInteraction& user, MessageLoop& messages,
                 FirebirdVersionSource& versions, Workstation& workstation);
    // Deletes the temporary files (never raises, never shows a dialog), then
    // frees the print-parameter store before the connection module.
    ~UpdateEngine();
    UpdateEngine(const UpdateEngine&) = delete;
    UpdateEngine& operator=(const UpdateEngine&) = delete;

    // --- packaged files --------------------------------------------------------
    std::optional<StoredFile> LoadEmbeddedFile(const std::string& name) { return embedded_.LoadEmbeddedFile(name); }
    bool ReadEmbeddedFile(const std::string& name, MemoryStream& stream) { return embedded_.ReadEmbeddedFile(name, stream); }
    int ReadEmbeddedLines(const std::string& name, std::vector<std::string>& lines) { return embedded_.ReadEmbeddedLines(name, lines); }
    int LoadEmbeddedRichText(const std::string& name, RichTextViewer& viewer) { return embedded_.LoadEmbeddedRichText(name, viewer); }
    std::string WriteEmbeddedFile(const std::string& name, const std::string& target) { return embedded_.WriteEmbeddedFile(name, target); }

    // Reads FileNames.txt / PrintLists.txt into their lists, replacing what
    // was there; returns the number of lines.
    int LoadFileNameLines();
    int LoadPrintListLines();
    const std::vector<std::string>& FileNameLines() const { return fileNameLines_; }
    const std::vector<std::string>& PrintListLines() const { return printListLines_; }

    // --- temporary files ---------------------------------------------------------
    // Seeds the name generator from the system's random source (the engine
    // does it when it is made; the wizard again when it is first shown), or
    // with a given seed, for tests.
    void Randomize() { random_.SeedUnpredictably(); }
    void Randomize(std::uint32_t seed) { random_.Seed(seed); }

    // Creates a new, empty file temp folder + prefix + a number below
    // 10000000 + ".tmp" and returns its path. The file is made only where
    // nothing is (a name already there, someone else's file in a shared
    // temporary folder or one handed out earlier in this run, is left
    // alone and another number drawn), so the program never writes into a
    // file it did not make. After 100 draws that all found their name
    // taken, raises an error naming the folder; a file that cannot be made
    // raises a FileCreationError.
    std::string TempFileName(const std::string& prefix);

    // Deletes the temporary files this run made, and no other file of the
    // temporary folder, without any dialog; never raises. A file that
    // cannot be deleted (still in use) stays. True when none of them is left.
    bool DeleteTempFiles();

    // Deletes one temporary file of this run whose copy is done (or failed),
    // without a report line; never raises. Any other path is left alone, and
    // a file that cannot be deleted now stays for DeleteTempFiles.
    void DiscardTempFile(const std::string& path);

    // --- report ------------------------------------------------------------------
    InstallationReport& Report() { return report_; }
    void SetReportTarget(ReportSink* target) { report_.SetReportTarget(target); }
    void AddReportLine(const std::string& text, int size = 0, const std::string& fontName = {}) { report_.AddReportLine(text, size, fontName); }
    void DeleteFileWithReport(const std::string& path) { report_.DeleteFileWithReport(path); }
    void ReportUpToDate(const std::string& path) { report_.ReportUpToDate(path); }
    void ReportNotReplaced(const std::string& path) { report_.ReportNotReplaced(path); }

    // --- finding the installation --------------------------------------------------
    std::string LocateDirectory(const std::string& name) { return locator_.LocateDirectory(name); }
    std::string AskProgramLocation(const std::string& expectedPath) { return locator_.AskProgramLocation(expectedPath); }

    // --- replacing files ------------------------------------------------------------
    // Each temporary file is written for one copy: a temporary file of this
    // run given as packaged (with Replace) or as source is deleted once its
    // copy is done or failed, whatever the outcome.
    UpdateStatus CompareAndReplace(const std::string& packaged, const std::string& installed, ReplaceMode mode);
    void CopyFileWithReport(const std::string& source, const std::string& target);
    // Writes every file of the file-name list from the package to a
    // temporary file and copies it to folder + line, without comparison. A
    // failed copy adds a line naming the file and why after its copy lines,
    // and the next file goes on. True when every copy succeeded.
    bool CopyListedFiles(const std::string& folder);

    // --- the companies of the workstation ------------------------------------------
    CompanyList& Companies() { return companies_; }
    const CompanyList& Companies() const { return companies_; }

    // --- the product database and its print lists (PrintListImport.cpp) --------
    ProductDatabase& Connection() { return *connection_; }
    PrintParamsStore& PrintParams() { return *printParams_; }

    // Brings the packaged print lists (PrintLists.txt) into the kind's
    // database of every company of the workstation, for the kinds that
    // import them (kinds 1, 2, 3, 6, 10). Ok, or Warning when a company has
    // no database; any other failure raises "Cannot import resource files".
    // Other kinds: Ok at once.
    UpdateStatus ImportPrintLists(ProductKind kind);
    // One company ("" is Default): opens its database of the kind, imports
    // every ".lst" entry through buffer, closes it. False when the company
    // has no database; an error while connecting or importing goes to the
    // caller (the database is closed by then).
    bool UpdateCompanyLists(ProductKind kind, const std::string& company, MemoryStream& buffer);
    // Imports one packaged list, whose bytes are in buffer, into the open
    // database: updated when its row exists, added otherwise; one report
    // line. An empty buffer does nothing. The buffer is left empty.
    void ImportPrintParamsFile(const std::string& entry, MemoryStream& buffer);
    // Opens the kind's database for a configuration ("" is Default) on the
    // connection module; true at once when one is open already, false when
    // the kind has none or none is recorded. The connection module's
    // refusals go to the caller.
    bool OpenProductDatabase(ProductKind kind, const std::string& configuration);
    bool CloseProductDatabase();

    FileSystem& Files() { return files_; }
    qv::Registry& RegistryAccess() { return registry_; }
    UserInteraction& User() { return user_; }

private:
    // Members in creation order (destroyed in reverse): the company list,
    // the installer helper, the two line lists, the connection module with
    // its timers, the print-parameter store.
    CompanyList companies_;  // loaded as it is made
    FileSystem& files_;  // the installer helper's temporary folder
    qv::Registry& registry_;
    UserInteraction& user_;
    std::vector<std::string> printListLines_;
    std::vector<std::string> fileNameLines_;
    std::unique_ptr<ProductDatabase> connection_;
    std::vector<std::unique_ptr<RepeatingTimer>> connectionTimers_;
    std::unique_ptr<PrintParamsStore> printParams_;

    InstallationReport report_;
    EmbeddedFiles embedded_;
    PseudoRandom random_;
    std::vector<std::string> tempFiles_;         // handed out, in order
    std::unordered_set<std::string> tempNames_;  // the same, upper-cased
    InstallationLocator locator_;
    FileReplacement replacement_;
};

}  // namespace qv
