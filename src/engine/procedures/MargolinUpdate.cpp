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
}  // namespace

void WriteMargolinPrintLists(UpdateEngine& engine, const std::string& folder)
{
    if (engine.LoadPrintListLines() == 0)
        return;
    try {
        // Written over whatever is there, without comparing versions.
        for (const std::string& entry : engine.PrintListLines()) {
            const std::string target = folder.empty() ? entry : AddBackslash(folder) + entry;
            if (!engine.WriteEmbeddedFile(entry, target).empty())
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
