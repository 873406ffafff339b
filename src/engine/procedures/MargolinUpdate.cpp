#include "engine/procedures/MargolinUpdate.h"

#include "core/Errors.h"
#include "core/Format.h"
#include "core/Texts.h"
#include "core/WindowsPath.h"
#include "engine/ProductCatalogue.h"
#include "engine/TdmUpdateCommon.h"
#include "engine/procedures/ProcedureSteps.h"

namespace qv {

namespace {
constexpr char kProgramsFolder[] = "Programs";
}  // namespace

std::string MargolinFolder(Registry& registry)
{
    const std::string mainProgramFolder = ProductFolder(
        registry, std::string(ProductNames[ProductKind::Telvarin]), RecordedPath::FolderOnly);
    return ParentFolder(ParentFolder(mainProgramFolder)) +
           std::string(ProductNames[ProductKind::Margolin]) + "\\" + kProgramsFolder + "\\";
}

UpdateStatus UpdateMargolin(TdmUpdateCommon& dm, ProductKind)
{
    const std::string current = kMargolinProgram;
    const std::string packaged = WritePackagedFile(dm, current);

    UpdateStatus result;
    try {
        const std::string folder = MargolinFolder(dm.RegistryAccess());
        const std::string program = folder + current;
        if (!dm.Files().FileIsPresent(program))
            throw Error(Format(texts::kProgramNotFound, {program}));

        result = dm.CompareAndReplace(packaged, program, ReplaceMode::CompareOnly);
        if (result != UpdateStatus::Ok)
            return result;

        dm.LoadFileNameLines();
        if (dm.CopyListedFiles(folder)) {
            // Its status is not used: Margolin keeps its lists as files, and
            // a file that cannot be written raises.
            dm.ImportPrintLists(folder);
            dm.CopyFileWithReport(packaged, program);  // the program last
        } else {
            result = UpdateStatus::Warning;  // the old program stays
        }
    } catch (...) {
        result = ReportUpdateError(dm, current);
    }
    return result;
}

}  // namespace qv
