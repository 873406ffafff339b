#pragma once
// Builds a small package in memory for the tests.
#include <memory>
#include <string>
#include <vector>

#include "core/PackageFile.h"
#include "core/StoredForm.h"
#include "core/Text.h"
#include "platform/PackageFileSource.h"

namespace qv::test {

struct TestFile {
    std::string name;  // packaged name, upper-cased when stored
    std::string payload;
    std::uint64_t time = 0;
};

// Raw stored bytes per name, for tests that damage them.
struct TestStored {
    std::string name;
    std::string stored;
};

inline std::unique_ptr<PackageFileSource> MakeStoredPackage(const std::vector<TestStored>& stored)
{
    std::vector<PackageEntry> entries;
    for (const auto& s : stored)
        entries.push_back({UpperAscii(s.name), s.stored});
    return std::make_unique<PackageFileSource>(WritePackageFile(entries));
}

inline std::unique_ptr<PackageFileSource> MakePackage(const std::vector<TestFile>& files)
{
    std::vector<TestStored> stored;
    for (const auto& f : files)
        stored.push_back({f.name, EncodeStoredForm(f.payload, f.time)});
    return MakeStoredPackage(stored);
}

}  // namespace qv::test
