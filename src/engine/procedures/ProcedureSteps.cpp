#include "engine/procedures/ProcedureSteps.h"

#include "core/Errors.h"
#include "core/Format.h"
#include "core/Texts.h"
#include "core/WindowsPath.h"
#include "engine/ProductCatalogue.h"
#include "engine/TdmUpdateCommon.h"

namespace qv {

namespace {

// The temporary copy of a packaged file, or "" when the package lacks it.
std::string TryWritePackagedFile(TdmUpdateCommon& dm, const std::string& name)
{
    return dm.WriteEmbeddedFile(name, dm.TempFileName(kTempPrefix));
}

}  // namespace

std::string WritePackagedFile(TdmUpdateCommon& dm, const std::string& name)
{
    std::string packaged = TryWritePackagedFile(dm, name);
    if (packaged.empty())
        throw Error("Cannot find " + name);
    return packaged;
}

UpdateStatus ReportUpdateError(TdmUpdateCommon& dm, const std::string& current)
{
    dm.AddReportLine(Format(texts::kUpdateError, {current}) + "\r\n" + CurrentErrorMessage());
    return UpdateStatus::Ko;
}

std::string FindProductsRoot(TdmUpdateCommon& dm)
{
    std::string root = ProductsRootFolder(dm.RegistryAccess(), dm.Files());
    if (root.empty())
        root = AddBackslash(dm.LocateDirectory(kProductsRootName));
    if (root.empty() || !dm.Files().FolderIsPresent(WithoutBackslash(root)))
        return {};
    return root;
}

std::string ProgramOrAskUser(TdmUpdateCommon& dm, const std::string& path)
{
    std::string program = path;
    if (!dm.Files().FileIsPresent(program))
        program = dm.AskProgramLocation(program);
    if (program.empty() || !dm.Files().FileIsPresent(program))
        return {};
    return program;
}

void CopyCompanionIfInstalled(TdmUpdateCommon& dm, const std::string& name,
                              const std::string& folder)
{
    const std::string packaged = TryWritePackagedFile(dm, name);
    const std::string target = AddBackslash(folder) + name;
    if (!packaged.empty() && dm.Files().FileIsPresent(target))
        dm.CopyFileWithReport(packaged, target);
}

}  // namespace qv
