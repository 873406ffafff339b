#include "tools/qvpack/FolderPackage.h"

#include <algorithm>
#include <cstdio>

#include "core/Errors.h"
#include "core/Manifests.h"
#include "core/PackagedNames.h"
#include "core/PeResourceWriter.h"
#include "core/PeResources.h"
#include "core/StoredForm.h"
#include "core/Text.h"
#include "core/TextConversions.h"
#include "tools/qvpack/FileTimes.h"
#include "tools/qvpack/LocalFiles.h"
#include "tools/qvpack/PackagedNames.h"

namespace fs = std::filesystem;

namespace qv::qvpack {

std::string NoCp1252FormProblem(const std::string& character, char32_t codePoint)
{
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(codePoint));
    if (codePoint == 0)
        std::snprintf(code, sizeof code, "byte 0x%02X", static_cast<unsigned char>(character[0]));
    return "\"" + character + "\" (" + code + ") has no Windows-1252 form";
}

std::string PackagedName(const fs::path& relative, std::string* problem)
{
    // On Linux the bytes of the name as they are on the disk.
    const std::u8string u8 = relative.generic_u8string();
    std::string name(u8.begin(), u8.end());
    if (IsUtf8Text(name)) {
        Cp1252Conversion converted = ConvertUtf8ToCp1252(name);
        if (!converted.ok) {
            if (problem)
                *problem = NoCp1252FormProblem(converted.character, converted.codePoint);
            return {};
        }
        name = std::move(converted.text);
    }
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
        const fs::path relative = fs::relative(item.path(), source);
        std::string problem;
        std::string name = PackagedName(relative, &problem);
        if (!problem.empty()) {
            const std::u8string u8 = relative.generic_u8string();
            files.problems.push_back("refused payload name \"" + std::string(u8.begin(), u8.end()) +
                                     "\": " + problem);
            continue;
        }
        if (std::string why = UnsafeNameReason(name); !why.empty()) {
            files.problems.push_back("refused payload name " + Quoted(name) + ": " + why);
            continue;
        }
        if (name.find('\xB5') != std::string::npos) {
            // Windows asks for the resource as capital Greek mu, which no
            // Windows-1252 name can be stored as.
            files.problems.push_back("refused payload name " + Quoted(name) +
                                     ": Windows would never find a name holding \"\xC2\xB5\"");
            continue;
        }
        auto [it, fresh] = files.byName.emplace(StoredNameOf(name), item.path());
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
        if (manifest::ManifestMaxLength(name) > 0 && IsUtf8Text(payload)) {
            Cp1252Conversion converted = ConvertUtf8ToCp1252(payload);
            if (!converted.ok) {
                const std::u8string file = path.filename().u8string();
                folder.problems.push_back(std::string(file.begin(), file.end()) + " line " +
                                          std::to_string(converted.line) + ": " +
                                          NoCp1252FormProblem(converted.character, converted.codePoint));
            }
            payload = std::move(converted.text);
        }
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
