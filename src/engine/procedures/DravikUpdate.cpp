#include "engine/procedures/DravikUpdate.h"

#include <string>

#include "engine/ProductCatalogue.h"
#include "engine/UpdateEngine.h"
#include "engine/procedures/ProcedureSteps.h"

namespace qv {

UpdateStatus UpdateDravik(UpdateEngine& engine, ProductKind /*kind*/)
{
    const std::string programName(DescriptorOf(ProductKind::Dravik).MainFile());
    const std::string packaged = WritePackagedFile(engine, programName);
    try {
        const std::string program = ProgramOrAskUser(
            engine, ProductFolder(engine.RegistryAccess(), ProductKind::Dravik, RecordedPath::AsRecorded));
        if (program.empty())
            return UpdateStatus::Ko;
        const UpdateStatus replaced = engine.CompareAndReplace(packaged, program, ReplaceMode::Replace);
        if (replaced != UpdateStatus::Ok)
            return replaced;
        return engine.ImportPrintLists(ProductKind::Dravik);
    } catch (...) {
        return ReportUpdateError(engine, programName);
    }
}

}  // namespace qv
