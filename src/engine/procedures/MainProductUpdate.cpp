#include "engine/procedures/MainProductUpdate.h"

#include <string>

#include "core/WindowsPath.h"
#include "engine/UpdateEngine.h"
#include "engine/procedures/ProcedureSteps.h"

namespace qv {

namespace {
constexpr char kProgramsFolder[] = "Programs";
}  // namespace

UpdateStatus UpdateMainProduct(UpdateEngine& engine, ProductKind kind)
{
    const ProductDescriptor& product = DescriptorOf(kind);
    // The file being handled, named by the error line.
    std::string current(product.MainFile());
    const std::string packaged = WritePackagedFile(engine, current);
    try {
        const std::string root = FindProductsRoot(engine);
        if (root.empty())
            return UpdateStatus::Ko;
        const std::string expected =
            root + AddBackslash(product.folder) + AddBackslash(kProgramsFolder) + current;
        const std::string program = ProgramOrAskUser(engine, expected);
        if (program.empty())
            return UpdateStatus::Ko;

        // The program decides; the library and the lists follow only when
        // it was replaced (or the user chose to go on with the same one).
        const UpdateStatus replaced = engine.CompareAndReplace(packaged, program, ReplaceMode::Replace);
        if (replaced != UpdateStatus::Ok)
            return replaced;

        // Beside the program actually updated, wherever the user found it.
        for (std::string_view companion : product.companions) {
            if (companion.empty())
                continue;
            current = companion;
            CopyCompanionIfInstalled(engine, current, ExtractFilePath(program));
        }
        return engine.ImportPrintLists(kind);
    } catch (...) {
        return ReportUpdateError(engine, current);
    }
}

}  // namespace qv
