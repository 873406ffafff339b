// Fuzzes the decoders that read untrusted bytes: the stored form, the line
// splitter, the package file and the executable's resource directory. Any
// input must end in a result or a qv::Error: no crash, no leak, no read out
// of bounds.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/Errors.h"
#include "core/PackageFile.h"
#include "core/PeResources.h"
#include "core/StoredForm.h"
#include "core/Text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    try {
        qv::StoredFile file = qv::DecodeStoredForm(bytes);
        qv::SplitLines(file.payload);
    } catch (const qv::Error&) {
    }
    qv::CheckStoredForm(bytes);
    qv::SplitLines(bytes);
    try {
        for (const auto& entry : qv::ParsePackageFile(bytes))
            qv::CheckStoredForm(entry.stored);
    } catch (const qv::Error&) {
    }
    try {
        qv::ReadRcDataResources(bytes);
    } catch (const qv::Error&) {
    }
    return 0;
}
