#include "engine/procedures/ObrentaUpdate.h"

#include <string>

#include "core/Errors.h"
#include "core/Format.h"
#include "core/Texts.h"
#include "core/WindowsPath.h"
#include "engine/ProductCatalogue.h"
#include "engine/UpdateEngine.h"
#include "engine/procedures/ProcedureSteps.h"

namespace qv {

UpdateStatus UpdateObrenta(UpdateEngine& engine, ProductKind /*kind*/)
{
    const ProductDescriptor& product = DescriptorOf(ProductKind::Obrenta);
    // Its second fixed file.
    const std::string interfaceLibrary(product.fixedFiles[1]);
    // The file being handled, named by the error line.
    std::string current(product.MainFile());
    const std::string packaged = WritePackagedFile(engine, current);
    try {
        const std::string program = ProgramOrAskUser(
            engine, ProductFolder(engine.RegistryAccess(), ProductKind::Obrenta, RecordedPath::AsRecorded));
        if (program.empty())
            return UpdateStatus::Ko;
        const std::string folder = AddBackslash(ExtractFilePath(program));
        // Without its interface library the installation was never
        // finished: nothing is touched, not even the program.
        if (!engine.Files().FileIsPresent(folder + interfaceLibrary))
            throw Error(Format(texts::kInstallationNotDone, {current}));

        const UpdateStatus replaced = engine.CompareAndReplace(packaged, program, ReplaceMode::Replace);
        if (replaced != UpdateStatus::Ok)
            return replaced;

        current = interfaceLibrary;
        engine.CopyFileWithReport(WritePackagedFile(engine, current), folder + current);
        for (std::string_view companion : product.companions) {
            if (companion.empty())
                continue;
            current = companion;
            CopyCompanionIfInstalled(engine, current, folder);
        }
        return engine.ImportPrintLists(ProductKind::Obrenta);
    } catch (...) {
        return ReportUpdateError(engine, current);
    }
}

}  // namespace qv
