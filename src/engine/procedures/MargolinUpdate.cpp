#include "engine/procedures/MargolinUpdate.h"

#include "core/Errors.h"
#include "core/Format.h"
#include "core/Texts.h"
#include "core/WindowsPath.h"
#include "engine/ProductCatalogue.h"
#include "engine/UpdateEngine.h"
#include "engine/procedures/ProcedureSteps.h"

namespace qv {

namespace {
constexpr char kProgramsFolder[] = "Programs";

// How many names beside a print file are tried for its new contents.
constexpr int kNewNameAttempts = 10;

// A name beside target that nothing holds yet: target + ".new", then
// ".new2", ".new3"...
std::string UnusedNameBeside(FileSystem& files, const std::string& target)
{
    for (int n = 1; n <= kNewNameAttempts; ++n) {
        std::string name = target + ".new" + (n == 1 ? std::string() : std::to_string(n));
        if (!files.PathIsPresent(name))
            return name;
    }
    throw Error(Format(texts::kFileCreateFailed, {target + ".new"}));
}

void RemoveIfPresent(FileSystem& files, const std::string& path) noexcept
{
    try {
        if (files.FileIsPresent(path))
            files.RemoveFile(path);
    } catch (...) {
        // Left beside the old file; the old file itself is untouched.
    }
}

// Writes the packaged entry into a new file beside target, stamped with its
// packaged time, and only once it is whole puts it in target's place: a
// failure leaves the old file's bytes and time as they were. False, with
// nothing touched, when the package has no such entry.
bool ReplaceWithPackagedFile(UpdateEngine& engine, const std::string& entry,
                             const std::string& target)
{
    FileSystem& files = engine.Files();
    const std::string fresh = UnusedNameBeside(files, target);
    try {
        if (engine.WriteEmbeddedFile(entry, fresh).empty())
            return false;
    } catch (...) {
        RemoveIfPresent(files, fresh);
        throw;
    }
    if (!files.MoveFileOver(fresh, target)) {
        const std::string reason = files.LastFailureMessage();
        RemoveIfPresent(files, fresh);
        throw Error(Format(texts::kFileCreateFailed, {target}) + "\r\n" + reason);
    }
    return true;
}
}  // namespace

void WriteMargolinPrintLists(UpdateEngine& engine, const std::string& folder)
{
    if (engine.LoadPrintListLines() == 0)
        return;
    try {
        // Put over whatever is there, without comparing versions.
        for (const std::string& entry : engine.PrintListLines()) {
            const std::string target = folder.empty() ? entry : AddBackslash(folder) + entry;
            if (ReplaceWithPackagedFile(engine, entry, target))
                engine.AddReportLine(texts::kPrintParamsPrefix + ("\"" + entry + "\"") +
                                     texts::kPrintParamsUpdated);
        }
        engine.AddReportLine("");
    } catch (...) {
        // The caller reports this one message; the cause is not shown.
        throw Error("Cannot import resource files");
    }
}

std::string MargolinFolder(Registry& registry)
{
    const std::string mainProgramFolder =
        ProductFolder(registry, ProductKind::Telvarin, RecordedPath::FolderOnly);
    return ParentFolder(ParentFolder(mainProgramFolder)) +
           std::string(DescriptorOf(ProductKind::Margolin).folder) + "\\" + kProgramsFolder + "\\";
}

UpdateStatus UpdateMargolin(UpdateEngine& engine, ProductKind)
{
    const std::string current(DescriptorOf(ProductKind::Margolin).MainFile());
    const std::string packaged = WritePackagedFile(engine, current);

    UpdateStatus result;
    try {
        const std::string folder = MargolinFolder(engine.RegistryAccess());
        const std::string program = folder + current;
        if (!engine.Files().FileIsPresent(program))
            throw Error(Format(texts::kProgramNotFound, {program}));

        result = engine.CompareAndReplace(packaged, program, ReplaceMode::CompareOnly);
        // Unpacked again for its copy at the end, so that a run cut short
        // during the listed copies leaves no more than the file being copied.
        engine.DiscardTempFile(packaged);
        if (result != UpdateStatus::Ok)
            return result;

        engine.LoadFileNameLines();
        // Its print lists become files beside it: their names are checked
        // too before anything is copied.
        engine.LoadPrintListLines();
        if (engine.CopyListedFiles(folder)) {
            // Margolin keeps its print lists as files.
            WriteMargolinPrintLists(engine, folder);
            engine.CopyFileWithReport(WritePackagedFile(engine, current), program);  // the program last
        } else {
            result = UpdateStatus::Warning;  // the old program stays
        }
    } catch (...) {
        result = ReportUpdateError(engine, current);
    }
    return result;
}

}  // namespace qv
