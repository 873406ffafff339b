#include "engine/procedures/SuiteUpdate.h"

#include "core/Errors.h"
#include "core/Format.h"
#include "core/Manifests.h"
#include "core/Texts.h"
#include "core/WindowsPath.h"
#include "engine/ProductCatalogue.h"
#include "engine/TdmUpdateCommon.h"
#include "engine/procedures/ProcedureSteps.h"

namespace qv {

namespace {
constexpr char kImagesFolder[] = "Images07";
}  // namespace

std::string SuiteMarker(ProductKind kind)
{
    return std::string(manifest::FixedPackagedNames(kind).front());
}

UpdateStatus UpdateSuite(TdmUpdateCommon& dm, ProductKind kind)
{
    const std::string marker = SuiteMarker(kind);
    const std::string product(ProductNames[kind]);

    const std::string packaged = WritePackagedFile(dm, marker);

    // The record holds the installed marker's path: two levels up is the suite.
    std::string folder =
        ParentFolder(ProductFolder(dm.RegistryAccess(), product, RecordedPath::FolderOnly));
    if (folder.empty())
        folder = dm.LocateDirectory(kSuiteFolderName);
    if (folder.empty())
        throw Error(Format(texts::kFolderNotFound, {kSuiteFolderName}));

    UpdateStatus result;
    try {
        const std::string target = AddBackslash(folder) + marker;
        // Recorded before anything is compared, whatever the outcome.
        SetProductFolder(dm.RegistryAccess(), product, target);

        result = dm.CompareAndReplace(packaged, target, ReplaceMode::CompareOnly);
        if (result != UpdateStatus::Ok)
            return result;

        dm.LoadFileNameLines();
        // Only this sub-folder is created; a failure shows in its copies.
        dm.Files().ForceDirectories(AddBackslash(folder) + kImagesFolder);
        if (dm.CopyListedFiles(folder))
            dm.CopyFileWithReport(packaged, target);  // the marker last
        else
            result = UpdateStatus::Warning;  // the old marker stays
    } catch (...) {
        // Whatever failed, even an allocation for a large file.
        result = ReportUpdateError(dm, marker);
    }
    return result;
}

}  // namespace qv
