#include "tools/qvpack/ProgramFolder.h"

#include <windows.h>

#include <vector>

#include "core/Errors.h"

namespace qv::qvpack {

std::filesystem::path ProgramFolder()
{
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            throw Error("Cannot find the qvpack program itself");
        if (length < path.size())
            return std::filesystem::path(std::wstring(path.data(), length)).parent_path();
        path.resize(path.size() * 2);
    }
}

}  // namespace qv::qvpack
