#include "engine/procedures/DravikUpdate.h"

#include <string>

#include "engine/ProductCatalogue.h"
#include "engine/TdmUpdateCommon.h"
#include "engine/procedures/ProcedureSteps.h"

namespace qv {

namespace {
constexpr char kProgramName[] = "Dravik.exe";
}  // namespace

UpdateStatus UpdateDravik(TdmUpdateCommon& dm, ProductKind /*kind*/)
{
    const std::string packaged = WritePackagedFile(dm, kProgramName);
    try {
        const std::string program = ProgramOrAskUser(
            dm, ProductFolder(dm.RegistryAccess(), std::string(ProductNames[ProductKind::Dravik]),
                              RecordedPath::AsRecorded));
        if (program.empty())
            return UpdateStatus::Ko;
        const UpdateStatus replaced = dm.CompareAndReplace(packaged, program, ReplaceMode::Replace);
        if (replaced != UpdateStatus::Ok)
            return replaced;
        return dm.ImportPrintLists({});
    } catch (...) {
        return ReportUpdateError(dm, kProgramName);
    }
}

}  // namespace qv
