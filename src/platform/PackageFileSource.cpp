#include "platform/PackageFileSource.h"

#include "core/Errors.h"
#include "core/PeResources.h"

namespace qv {

PackageFileSource::PackageFileSource(std::string bytes) : bytes_(std::move(bytes))
{
    if (IsPackageFile(bytes_)) {
        entries_ = ParsePackageFile(bytes_);
    } else if (IsExecutableImage(bytes_)) {
        executable_ = true;
        entries_ = ReadRcDataResources(bytes_);
    } else {
        throw Error("Neither a package file nor an executable");
    }
    for (const PackageEntry& e : entries_)
        byName_.emplace(e.name, e.stored);
}

std::optional<std::string_view> PackageFileSource::Find(const std::string& resourceName)
{
    auto it = byName_.find(resourceName);
    if (it == byName_.end())
        return std::nullopt;
    return it->second;
}

std::vector<std::string> PackageFileSource::Names()
{
    std::vector<std::string> names;
    for (const PackageEntry& e : entries_)
        names.push_back(e.name);
    return names;
}

}  // namespace qv
