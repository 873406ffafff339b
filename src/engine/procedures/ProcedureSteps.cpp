#include "engine/procedures/ProcedureSteps.h"

#include "core/Errors.h"
#include "core/Format.h"
#include "core/Texts.h"
#include "engine/TdmUpdateCommon.h"

namespace qv {

std::string WritePackagedFile(TdmUpdateCommon& dm, const std::string& name)
{
    std::string packaged = dm.WriteEmbeddedFile(name, dm.TempFileName(kTempPrefix));
    if (packaged.empty())
        throw Error("Cannot find " + name);
    return packaged;
}

UpdateStatus ReportUpdateError(TdmUpdateCommon& dm, const std::string& current)
{
    dm.AddReportLine(Format(texts::kUpdateError, {current}) + "\r\n" + CurrentErrorMessage());
    return UpdateStatus::Ko;
}

}  // namespace qv
