#pragma once
// An EmbeddedSource over bytes held in memory: a package file, or a built
// executable read as data (its named RT_RCDATA resources).
#include <map>
#include <memory>
#include <string>

#include "core/PackageFile.h"
#include "platform/EmbeddedSource.h"

namespace qv {

class PackageFileSource : public EmbeddedSource {
public:
    // Takes the bytes of a package file or of an executable; which one is
    // told by their signature. Raises qv::Error when they are neither, or
    // when their structure is inconsistent.
    explicit PackageFileSource(std::string bytes);
    // The entries point into the bytes held here: neither copied nor moved.
    PackageFileSource(const PackageFileSource&) = delete;
    PackageFileSource& operator=(const PackageFileSource&) = delete;

    std::optional<std::string_view> Find(const std::string& resourceName) override;
    std::vector<std::string> Names() override;

    // Every entry as stored, duplicates included (for the package check).
    const std::vector<PackageEntry>& Entries() const { return entries_; }
    bool IsExecutable() const { return executable_; }

private:
    std::string bytes_;
    bool executable_ = false;
    std::vector<PackageEntry> entries_;            // views into bytes_
    std::map<std::string, std::string_view> byName_;  // first entry of each name
};

}  // namespace qv
