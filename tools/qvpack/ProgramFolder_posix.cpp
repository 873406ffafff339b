#include "tools/qvpack/ProgramFolder.h"

#include "core/Errors.h"

namespace qv::qvpack {

std::filesystem::path ProgramFolder()
{
    std::error_code error;
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        throw Error("Cannot find the qvpack program itself: " + error.message());
    return self.parent_path();
}

}  // namespace qv::qvpack
