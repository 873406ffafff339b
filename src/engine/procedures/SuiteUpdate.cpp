#include "engine/procedures/SuiteUpdate.h"

#include "core/Errors.h"
#include "core/Format.h"
#include "core/Texts.h"
#include "core/WindowsPath.h"
#include "engine/ProductCatalogue.h"
#include "engine/UpdateEngine.h"
#include "engine/procedures/ProcedureSteps.h"

namespace qv {

namespace {
constexpr char kImagesFolder[] = "Images07";
}  // namespace

std::string SuiteMarker(ProductKind kind)
{
    return std::string(DescriptorOf(kind).MainFile());
}

UpdateStatus UpdateSuite(UpdateEngine& engine, ProductKind kind)
{
    const std::string marker = SuiteMarker(kind);

    const std::string packaged = WritePackagedFile(engine, marker);

    // The record holds the installed marker's path: two levels up is the suite.
    std::string folder =
        ParentFolder(ProductFolder(engine.RegistryAccess(), kind, RecordedPath::FolderOnly));
    if (folder.empty())
        folder = engine.LocateDirectory(kSuiteFolderName);
    if (folder.empty())
        throw Error(Format(texts::kFolderNotFound, {kSuiteFolderName}));

    UpdateStatus result;
    try {
        const std::string target = AddBackslash(folder) + marker;
        // Recorded before anything is compared, whatever the outcome.
        SetProductFolder(engine.RegistryAccess(), kind, target);

        result = engine.CompareAndReplace(packaged, target, ReplaceMode::CompareOnly);
        // Unpacked again for its copy at the end, so that a run cut short
        // during the listed copies leaves no more than the file being copied.
        engine.DiscardTempFile(packaged);
        if (result != UpdateStatus::Ok)
            return result;

        engine.LoadFileNameLines();
        // Only this sub-folder is created; a failure shows in its copies.
        engine.Files().ForceDirectories(AddBackslash(folder) + kImagesFolder);
        if (engine.CopyListedFiles(folder))
            engine.CopyFileWithReport(WritePackagedFile(engine, marker), target);  // the marker last
        else
            result = UpdateStatus::Warning;  // the old marker stays
    } catch (...) {
        // Whatever failed, even an allocation for a large file.
        result = ReportUpdateError(engine, marker);
    }
    return result;
}

}  // namespace qv
