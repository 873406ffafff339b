// Fuzzes the decoders that read untrusted bytes: the stored form, the line
// splitter, the package file and the executable's resource directory, and
// the resource writer over whatever the reader accepts. Any input must end
// in a result or a qv::Error: no crash, no leak, no read out of bounds; and
// what the writer makes of an image, the reader reads back the same.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/Errors.h"
#include "core/PackageFile.h"
#include "core/PeResourceWriter.h"
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
    std::string rewritten;
    std::size_t count = 0;
    try {
        auto resources = qv::ReadResources(bytes);
        count = resources.size();
        rewritten = qv::ReplaceResources(bytes, resources);
    } catch (const qv::Error&) {
        return 0;
    }
    if (qv::ReadResources(rewritten).size() != count)
        __builtin_trap();
    return 0;
}
