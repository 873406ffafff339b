#include "engine/TdmUpdateCommon.h"

#include "core/Format.h"
#include "core/Manifests.h"

namespace qv {

namespace {
// Temporary numbers are drawn below this bound.
constexpr std::uint32_t kTempNumberBound = 10000000;
}

TdmUpdateCommon::TdmUpdateCommon(EmbeddedSource& source, FileSystem& files)
    : files_(files), report_(files), embedded_(source, files)
{
    // The creation order is fixed:
    // 1. the company-selection dialog, which loads the company list;
    //    (added with the company list)
    // 2. the installer helper: files_, given by the caller;
    // 3. the print-list lines and the file-name lines: members above;
    // 4. the connection module, owned by this module;
    //    (added with the connection module)
    // 5. the print-parameter store over the connection module.
    //    (added with the print-parameter store)
}

TdmUpdateCommon::~TdmUpdateCommon()
{
    // While the helper that knows the temporary folder still exists.
    DeleteTempFiles(kTempMask);
    // Then the print-parameter store, the connection module, the lists.
}

int TdmUpdateCommon::LoadFileNameLines()
{
    return ReadEmbeddedLines(manifest::kFileNames, fileNameLines_);
}

int TdmUpdateCommon::LoadPrintListLines()
{
    return ReadEmbeddedLines(manifest::kPrintLists, printListLines_);
}

std::string TdmUpdateCommon::TempFileName(const std::string& prefix)
{
    std::string path = Format("%s%s%d.tmp", {files_.TempFolder(), prefix,
                                             static_cast<long long>(random_.Below(kTempNumberBound))});
    if (files_.FileIsPresent(path))
        DeleteFileWithReport(path);
    return path;
}

bool TdmUpdateCommon::DeleteTempFiles(const std::string& mask)
{
    try {
        files_.DeleteMatchingFiles(files_.TempFolder() + mask);
        return true;
    } catch (...) {
        return false;
    }
}

}  // namespace qv
