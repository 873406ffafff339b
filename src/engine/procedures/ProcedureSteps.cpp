#include "engine/procedures/ProcedureSteps.h"

#include "core/Errors.h"
#include "core/Format.h"
#include "core/Texts.h"
#include "core/WindowsPath.h"
#include "engine/ProductCatalogue.h"
#include "engine/UpdateEngine.h"

namespace qv {

namespace {

// The temporary copy of a packaged file, or "" when the package lacks it
// (its temporary file, made empty, goes at once).
std::string TryWritePackagedFile(UpdateEngine& engine, const std::string& name)
{
    const std::string temporary = engine.TempFileName(kTempPrefix);
    std::string packaged = engine.WriteEmbeddedFile(name, temporary);
    if (packaged.empty())
        engine.DiscardTempFile(temporary);
    return packaged;
}

}  // namespace

std::string WritePackagedFile(UpdateEngine& engine, const std::string& name)
{
    std::string packaged = TryWritePackagedFile(engine, name);
    if (packaged.empty())
        throw Error("Cannot find " + name);
    return packaged;
}

UpdateStatus ReportUpdateError(UpdateEngine& engine, const std::string& current)
{
    engine.AddReportLine(Format(texts::kUpdateError, {current}) + "\r\n" + CurrentErrorMessage());
    return UpdateStatus::Ko;
}

std::string FindProductsRoot(UpdateEngine& engine)
{
    std::string root = ProductsRootFolder(engine.RegistryAccess(), engine.Files());
    if (root.empty())
        root = AddBackslash(engine.LocateDirectory(kProductsRootName));
    if (root.empty() || !engine.Files().FolderIsPresent(WithoutBackslash(root)))
        return {};
    return root;
}

std::string ProgramOrAskUser(UpdateEngine& engine, const std::string& path)
{
    std::string program = path;
    if (!engine.Files().FileIsPresent(program))
        program = engine.AskProgramLocation(program);
    if (program.empty() || !engine.Files().FileIsPresent(program))
        return {};
    return program;
}

void CopyCompanionIfInstalled(UpdateEngine& engine, const std::string& name,
                              const std::string& folder)
{
    const std::string packaged = TryWritePackagedFile(engine, name);
    const std::string target = AddBackslash(folder) + name;
    if (!packaged.empty() && engine.Files().FileIsPresent(target))
        engine.CopyFileWithReport(packaged, target);
}

}  // namespace qv
