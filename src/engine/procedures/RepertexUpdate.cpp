#include "engine/procedures/RepertexUpdate.h"

#include <string>

#include "core/Format.h"
#include "core/Errors.h"
#include "core/Texts.h"
#include "core/WindowsPath.h"
#include "engine/ProductCatalogue.h"
#include "engine/UpdateEngine.h"
#include "engine/procedures/ProcedureSteps.h"

namespace qv {

namespace {
constexpr char kProgramsFolder[] = "Programs";
}  // namespace

UpdateStatus UpdateRepertex(UpdateEngine& engine, ProductKind /*kind*/)
{
    const ProductDescriptor& product = DescriptorOf(ProductKind::Repertex);
    const std::string libraryName(product.MainFile());
    const std::string packaged = WritePackagedFile(engine, libraryName);
    try {
        const std::string root = FindProductsRoot(engine);
        if (root.empty())
            return UpdateStatus::Ko;
        // Always at this place; an update never installs it afresh.
        const std::string target =
            root + AddBackslash(product.folder) + AddBackslash(kProgramsFolder) + libraryName;
        if (!engine.Files().FileIsPresent(target))
            throw Error(Format(texts::kInstalledFileMissing, {target}));

        const UpdateStatus replaced = engine.CompareAndReplace(packaged, target, ReplaceMode::Replace);
        if (replaced != UpdateStatus::Ok)
            return replaced;
        // The library is the address book's record now; a refused write does
        // not fail the update.
        SetProductFolder(engine.RegistryAccess(), ProductKind::Repertex, target);
        return engine.ImportPrintLists(ProductKind::Repertex);
    } catch (...) {
        return ReportUpdateError(engine, libraryName);
    }
}

}  // namespace qv
