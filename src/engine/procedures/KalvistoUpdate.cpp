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
    const std::string programName(DescriptorOf(ProductKind::Kalvisto).MainFile());
    const std::string packaged = WritePackagedFile(engine, programName);

    const std::string base =
        ProductFolder(engine.RegistryAccess(), ProductKind::Kalvisto, RecordedPath::AsRecorded);
    if (base.empty())
        throw Error(Format(texts::kProgramNotFound, {base}));
    const std::string target = AddBackslash(base) + programName;
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
    const std::string library(DescriptorOf(ProductKind::PdfLibrary).MainFile());
    const std::string packaged = WritePackagedFile(engine, library);
    const std::string target = engine.Files().SharedSystemFolder() + library;
    // CompareAndReplace raises "Fichier pas trouvé : " for a library that is
    // not installed there.
    return engine.CompareAndReplace(packaged, target, ReplaceMode::Replace);
}

}  // namespace qv
