#pragma once
// Where the packaged files' stored forms come from: the program's own
// RT_RCDATA resources (win32/ResourceEmbeddedSource), or a package file or
// the bytes of a built executable read as data (PackageFileSource).
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

class EmbeddedSource {
public:
    virtual ~EmbeddedSource() = default;

    // The stored form packaged under resourceName (already upper-cased, the
    // exact resource name). nullopt when nothing is packaged under it, which
    // is no error. Raises qv::Error when the entry exists but cannot be read.
    // The bytes stay valid as long as the source lives.
    virtual std::optional<std::string_view> Find(const std::string& resourceName) = 0;

    // Every packaged name, in the source's own order.
    virtual std::vector<std::string> Names() = 0;
};

}  // namespace qv
