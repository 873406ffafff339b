#include "engine/procedures/KalvistoUpdate.h"

#include "core/Errors.h"
#include "core/Format.h"
#include "core/Texts.h"
#include "core/WindowsPath.h"
#include "engine/ProductCatalogue.h"
#include "engine/TdmUpdateCommon.h"
#include "engine/procedures/ProcedureSteps.h"

namespace qv {

UpdateStatus UpdateKalvisto(TdmUpdateCommon& dm, ProductKind)
{
    const std::string packaged = WritePackagedFile(dm, kKalvistoProgram);

    const std::string base = ProductFolder(
        dm.RegistryAccess(), std::string(ProductNames[ProductKind::Kalvisto]), RecordedPath::AsRecorded);
    if (base.empty())
        throw Error(Format(texts::kProgramNotFound, {base}));
    const std::string target = AddBackslash(base) + kKalvistoProgram;
    if (!dm.Files().FileIsPresent(target))
        throw Error(Format(texts::kProgramNotFound, {target}));

    // Another major version is another product line, which this package
    // would break: refused even when the package is newer.
    FileVersionParts installed;
    if (!dm.Files().GetFileVersionParts(target, installed) || installed.major != kKalvistoMajorVersion)
        throw Error(target + "\r\n" + texts::kFileVersionIncompatible);

    return dm.CompareAndReplace(packaged, target, ReplaceMode::Replace);
}

UpdateStatus UpdatePdfLibrary(TdmUpdateCommon& dm, ProductKind)
{
    const std::string packaged = WritePackagedFile(dm, kPdfLibrary);
    const std::string target = dm.Files().SharedSystemFolder() + kPdfLibrary;
    // CompareAndReplace raises "Fichier pas trouvé : " for a library that is
    // not installed there.
    return dm.CompareAndReplace(packaged, target, ReplaceMode::Replace);
}

}  // namespace qv
