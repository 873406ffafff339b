#include "engine/procedures/KalvistoUpdate.h"

#include "core/Errors.h"
#include "core/Format.h"
#include "core/Texts.h"
#include "core/WindowsPath.h"
#include "engine/ProductCatalogue.h"
#include "engine/UpdateEngine.h"
#include "engine/procedures/ProcedureSteps.h"

namespace qv {

UpdateStatus UpdateKalvisto(UpdateEngine& engine, ProductKind)
{
    const std::string packaged = WritePackagedFile(engine, kKalvistoProgram);

    const std::string base = ProductFolder(
        engine.RegistryAccess(), std::string(ProductNames[ProductKind::Kalvisto]), RecordedPath::AsRecorded);
    if (base.empty())
        throw Error(Format(texts::kProgramNotFound, {base}));
    const std::string target = AddBackslash(base) + kKalvistoProgram;
    if (!engine.Files().FileIsPresent(target))
        throw Error(Format(texts::kProgramNotFound, {target}));

    // Another major version is another product line, which this package
    // would break: refused even when the package is newer.
    FileVersionParts installed;
    if (!engine.Files().GetFileVersionParts(target, installed) || installed.major != kKalvistoMajorVersion)
        throw Error(target + "\r\n" + texts::kFileVersionIncompatible);

    return engine.CompareAndReplace(packaged, target, ReplaceMode::Replace);
}

UpdateStatus UpdatePdfLibrary(UpdateEngine& engine, ProductKind)
{
    const std::string packaged = WritePackagedFile(engine, kPdfLibrary);
    const std::string target = engine.Files().SharedSystemFolder() + kPdfLibrary;
    // CompareAndReplace raises "Fichier pas trouvé : " for a library that is
    // not installed there.
    return engine.CompareAndReplace(packaged, target, ReplaceMode::Replace);
}

}  // namespace qv
