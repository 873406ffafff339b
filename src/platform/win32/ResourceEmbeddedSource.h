#pragma once
// The packaged files carried by a module (by default the program itself) as
// RT_RCDATA resources named by their upper-cased packaged names.
#include "platform/EmbeddedSource.h"

namespace qv::win32 {

class ResourceEmbeddedSource : public EmbeddedSource {
public:
    // module: an HMODULE; nullptr is the program's own executable. Not owned.
    explicit ResourceEmbeddedSource(void* module = nullptr) : module_(module) {}

    // A resource that exists but cannot be sized, loaded or locked raises the
    // last system error. The bytes live as long as the module stays loaded.
    std::optional<std::string_view> Find(const std::string& resourceName) override;
    std::vector<std::string> Names() override;

private:
    void* module_;
};

}  // namespace qv::win32
