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

namespace {
constexpr char kProgramName[] = "Obrenta.exe";
constexpr char kInterfaceLibrary[] = "TVE_intf.dll";
constexpr const char* kCompanionPrograms[] = {"OBEPFL.exe", "OBPCS.exe"};
}  // namespace

UpdateStatus UpdateObrenta(UpdateEngine& engine, ProductKind /*kind*/)
{
    // The file being handled, named by the error line.
    std::string current = kProgramName;
    const std::string packaged = WritePackagedFile(engine, current);
    try {
        const std::string program = ProgramOrAskUser(
            engine, ProductFolder(engine.RegistryAccess(), std::string(ProductNames[ProductKind::Obrenta]),
                              RecordedPath::AsRecorded));
        if (program.empty())
            return UpdateStatus::Ko;
        const std::string folder = AddBackslash(ExtractFilePath(program));
        // Without its interface library the installation was never
        // finished: nothing is touched, not even the program.
        if (!engine.Files().FileIsPresent(folder + kInterfaceLibrary))
            throw Error(Format(texts::kInstallationNotDone, {current}));

        const UpdateStatus replaced = engine.CompareAndReplace(packaged, program, ReplaceMode::Replace);
        if (replaced != UpdateStatus::Ok)
            return replaced;

        current = kInterfaceLibrary;
        engine.CopyFileWithReport(WritePackagedFile(engine, current), folder + current);
        for (const char* companion : kCompanionPrograms) {
            current = companion;
            CopyCompanionIfInstalled(engine, current, folder);
        }
        return engine.ImportPrintLists({});
    } catch (...) {
        return ReportUpdateError(engine, current);
    }
}

}  // namespace qv
