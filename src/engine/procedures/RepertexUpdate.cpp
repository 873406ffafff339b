#include "engine/procedures/RepertexUpdate.h"

#include <string>

#include "core/Format.h"
#include "core/Errors.h"
#include "core/Texts.h"
#include "core/WindowsPath.h"
#include "engine/ProductCatalogue.h"
#include "engine/TdmUpdateCommon.h"
#include "engine/procedures/ProcedureSteps.h"

namespace qv {

namespace {
constexpr char kLibraryName[] = "TVRepertex2.dll";
constexpr char kProgramsFolder[] = "Programs";
}  // namespace

UpdateStatus UpdateRepertex(TdmUpdateCommon& dm, ProductKind /*kind*/)
{
    const std::string product(ProductNames[ProductKind::Repertex]);
    const std::string packaged = WritePackagedFile(dm, kLibraryName);
    try {
        const std::string root = FindProductsRoot(dm);
        if (root.empty())
            return UpdateStatus::Ko;
        // Always at this place; an update never installs it afresh.
        const std::string target =
            root + AddBackslash(product) + AddBackslash(kProgramsFolder) + kLibraryName;
        if (!dm.Files().FileIsPresent(target))
            throw Error(Format(texts::kInstalledFileMissing, {target}));

        const UpdateStatus replaced = dm.CompareAndReplace(packaged, target, ReplaceMode::Replace);
        if (replaced != UpdateStatus::Ok)
            return replaced;
        // The library is the address book's record now; a refused write does
        // not fail the update.
        SetProductFolder(dm.RegistryAccess(), product, target);
        return dm.ImportPrintLists({});
    } catch (...) {
        return ReportUpdateError(dm, kLibraryName);
    }
}

}  // namespace qv
