#include "tools/qvpack/FolderPackage.h"

#include <algorithm>

#include "core/Errors.h"
#include "core/PeResourceWriter.h"
#include "core/PeResources.h"
#include "core/StoredForm.h"
#include "core/Text.h"
#include "tools/qvpack/FileTimes.h"
#include "tools/qvpack/LocalFiles.h"
#include "tools/qvpack/PackagedNames.h"

namespace fs = std::filesystem;

namespace qv::qvpack {

std::string PackagedName(const fs::path& relative)
{
    std::u8string utf8 = relative.generic_u8string();
    std::string name = Utf8ToCp1252(std::string(utf8.begin(), utf8.end()));
    std::replace(name.begin(), name.end(), '/', '\\');
    return name;
}

std::string Quoted(std::string_view name)
{
    // Appended piece by piece: GCC 12 sees an overlap in the one-line form.
    std::string quoted(1, '"');
    quoted += Cp1252ToUtf8(name);
    quoted += '"';
    return quoted;
}

FolderFiles ScanFolder(const fs::path& source)
{
    if (!fs::is_directory(source))
        throw Error("No such folder: " + source.string());
    FolderFiles files;
    // The iteration order is the file system's; the map fixes the order.
    for (const auto& item : fs::recursive_directory_iterator(source)) {
        if (!item.is_regular_file())
            continue;
        std::string name = PackagedName(fs::relative(item.path(), source));
        if (std::string why = UnsafeNameReason(name); !why.empty()) {
            files.problems.push_back("refused payload name " + Quoted(name) + ": " + why);
            continue;
        }
        auto [it, fresh] = files.byName.emplace(UpperAscii(name), item.path());
        if (!fresh)
            files.problems.push_back(Quoted(name) + " and " +
                                     Quoted(PackagedName(fs::relative(it->second, source))) +
                                     " collide once upper-cased");
    }
    std::sort(files.problems.begin(), files.problems.end());
    return files;
}

StoredFolder Store(const FolderFiles& files)
{
    StoredFolder folder;
    folder.stored.reserve(files.byName.size());
    for (const auto& [name, path] : files.byName) {
        std::string payload = ReadWholeFile(path);
        if (payload.size() > static_cast<std::uint64_t>(kMaxStoredLength))
            throw Error("File too large to package: " + path.string());
        folder.payloadBytes += payload.size();
        folder.stored.push_back(EncodeStoredForm(payload, ReadWriteTime(path)));
    }
    std::size_t i = 0;
    for (const auto& [name, path] : files.byName)
        folder.entries.push_back({name, folder.stored[i++]});
    return folder;
}

std::string Summary(const StoredFolder& folder)
{
    std::uint64_t storedBytes = 0;
    for (const auto& s : folder.stored)
        storedBytes += s.size();
    return std::to_string(folder.entries.size()) + " files, " + std::to_string(folder.payloadBytes) +
           " bytes, stored in " + std::to_string(storedBytes) + " bytes";
}

void CheckStub(std::string_view stub)
{
    if (!IsExecutableImage(stub))
        throw Error("The stub is no Windows executable");
    if (std::size_t carried = ReadRcDataResources(stub).size())
        throw Error("The stub carries a package already (" + std::to_string(carried) +
                    " files): make the program from " + kStubName);
}

std::string ProgramWithPackage(std::string_view stub, const std::vector<PackageEntry>& entries)
{
    CheckStub(stub);
    std::vector<Resource> resources = ReadResources(stub);
    for (const PackageEntry& e : entries)
        resources.push_back({{kRcDataType, {}}, {0, Cp1252ToUtf16(e.name)}, 0, 0, e.stored});
    std::string program = ReplaceResources(stub, resources);

    // What the wizard will find in it: exactly these files.
    std::map<std::string, std::string_view> carried;
    for (const PackageEntry& e : ReadRcDataResources(program))
        carried.emplace(e.name, e.stored);
    bool same = carried.size() == entries.size() &&
                std::all_of(entries.begin(), entries.end(), [&](const PackageEntry& e) {
                    auto it = carried.find(e.name);
                    return it != carried.end() && it->second == e.stored;
                });
    if (!same)
        throw Error("The program made does not carry the package it was given");
    return program;
}

}  // namespace qv::qvpack
