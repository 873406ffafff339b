#include "tools/qvpack/PackageChecks.h"

#include <map>

#include "core/Errors.h"
#include "core/Manifests.h"
#include "core/PackagedNames.h"
#include "core/ProductTables.h"
#include "core/StoredForm.h"
#include "core/Text.h"
#include "tools/qvpack/FolderPackage.h"
#include "tools/qvpack/PackagedNames.h"

namespace qv::qvpack {

namespace {

// The first entry of each name, as the wizard finds them.
std::map<std::string, std::string_view> ByName(const std::vector<PackageEntry>& entries)
{
    std::map<std::string, std::string_view> byName;
    for (const PackageEntry& e : entries)
        byName.emplace(e.name, e.stored);
    return byName;
}

// Lines of a manifest, or none when it is absent or longer than the
// program reads (reported on its own).
std::vector<std::string> ManifestLines(const std::map<std::string, std::string_view>& byName,
                                       const char* name)
{
    auto it = byName.find(StoredNameOf(name));
    if (it == byName.end() || ReadStoredHeader(it->second).length > manifest::ManifestMaxLength(name))
        return {};
    return SplitLines(DecodeStoredForm(it->second).payload);
}

// What makes the program read a text other than it stands: a UTF-16
// byte-order mark (every other byte is then a NUL), or a NUL, where the
// program's text rule ends the text. "" when there is neither.
std::string CutTextProblem(std::string_view text)
{
    if (text.substr(0, 2) == "\xFF\xFE" || text.substr(0, 2) == "\xFE\xFF")
        return "UTF-16 (it opens with a UTF-16 byte-order mark): the program reads Windows-1252 "
               "and would cut it at its first NUL byte; save it as Windows-1252 or UTF-8";
    if (std::size_t nul = text.find('\0'); nul != std::string_view::npos)
        return "holds a NUL byte at offset " + std::to_string(nul) + ": the program would cut it there";
    return {};
}

const char* const kManifestNames[] = {manifest::kAppInfo1, manifest::kAppInfo2, manifest::kUpdateInfo,
                                      manifest::kSteps,    manifest::kUpdates,  manifest::kFileNames,
                                      manifest::kPrintLists};

// Each manifest is within its bound and reads as it stands; so does each
// print list PrintLists.txt names.
void CheckManifestTexts(const std::map<std::string, std::string_view>& byName,
                        std::vector<std::string>& problems)
{
    for (const char* name : kManifestNames) {
        auto it = byName.find(StoredNameOf(name));
        if (it == byName.end() || !CheckStoredForm(it->second).ok)
            continue;  // damage is reported with the names
        const std::int64_t length = ReadStoredHeader(it->second).length;
        if (length > manifest::ManifestMaxLength(name)) {
            problems.push_back(std::string(name) + ": " + std::to_string(length) +
                               " bytes, more than the program reads (" +
                               std::to_string(manifest::ManifestMaxLength(name)) + ")");
            continue;
        }
        if (std::string why = CutTextProblem(DecodeStoredForm(it->second).payload); !why.empty())
            problems.push_back(std::string(name) + ": " + why);
    }
    std::vector<std::string> lists;
    try {
        lists = ManifestLines(byName, manifest::kPrintLists);
    } catch (const Error&) {
        return;  // reported with the lines
    }
    for (std::size_t line = 0; line < lists.size(); ++line) {
        auto it = byName.find(StoredNameOf(lists[line]));
        if (it == byName.end() || !CheckStoredForm(it->second).ok)
            continue;
        if (std::string why = CutTextProblem(DecodeStoredForm(it->second).payload); !why.empty())
            problems.push_back(Quoted(lists[line]) + " (" + manifest::kPrintLists + " line " +
                               std::to_string(line + 1) + "): " + why);
    }
}

}  // namespace

std::vector<std::string> PackageProblems(const std::vector<PackageEntry>& entries)
{
    std::vector<std::string> problems;
    std::map<std::string, std::string> seen;
    for (const PackageEntry& e : entries) {
        if (StoredFormCheck check = CheckStoredForm(e.stored); !check.ok)
            problems.push_back(Quoted(e.name) + ": " + check.problem);
        if (e.name != StoredNameOf(e.name))
            problems.push_back(Quoted(e.name) + ": not stored upper-cased, never found");
        if (std::string why = UnsafeNameReason(e.name); !why.empty())
            problems.push_back(Quoted(e.name) + ": " + why);
        auto [it, fresh] = seen.emplace(StoredNameOf(e.name), e.name);
        if (!fresh)
            problems.push_back(Quoted(e.name) + " and " + Quoted(it->second) +
                               " collide once upper-cased");
    }
    auto byName = ByName(entries);
    for (const char* manifestName : {manifest::kFileNames, manifest::kPrintLists}) {
        try {
            int line = 0;
            for (const std::string& entry : ManifestLines(byName, manifestName)) {
                ++line;
                if (std::string why = UnsafeNameReason(entry); !why.empty() && !entry.empty())
                    problems.push_back(std::string(manifestName) + " line " + std::to_string(line) +
                                       ": " + Quoted(entry) + ": " + why);
                else if (!byName.count(StoredNameOf(entry)))
                    problems.push_back(std::string(manifestName) + " line " + std::to_string(line) +
                                       ": " + Quoted(entry) + " is not packaged");
            }
        } catch (const Error& e) {
            problems.push_back(std::string(manifestName) + ": " + e.Message());
        }
    }
    CheckManifestTexts(byName, problems);
    return problems;
}

std::vector<std::string> ManifestProblems(const std::vector<PackageEntry>& entries)
{
    std::vector<std::string> problems;
    auto byName = ByName(entries);
    if (!byName.count(StoredNameOf(manifest::kAppInfo1)))
        problems.push_back(std::string(manifest::kAppInfo1) +
                           " is missing: the program would have no title");
    if (!byName.count(StoredNameOf(manifest::kUpdates))) {
        problems.push_back(std::string(manifest::kUpdates) +
                           " is missing: the program would update no product");
        return problems;
    }
    std::vector<std::string> lines;
    try {
        lines = manifest::FilterUpdateLines(ManifestLines(byName, manifest::kUpdates));
    } catch (const Error& e) {
        problems.push_back(std::string(manifest::kUpdates) + ": " + e.Message());
        return problems;
    }
    // The first line the catalogue knows chooses the procedure, as in the wizard.
    for (const std::string& line : lines) {
        ProductKind kind = ProductKindOf(line);
        if (kind == ProductKind{})
            continue;
        for (std::string_view fixed : manifest::FixedPackagedNames(kind))
            if (!byName.count(StoredNameOf(fixed)))
                problems.push_back(Quoted(fixed) + " is not packaged: the update of " +
                                   Cp1252ToUtf8(line) + " needs it");
        return problems;
    }
    problems.push_back(std::string(manifest::kUpdates) +
                       " names no product of the family: the program would update nothing");
    return problems;
}

}  // namespace qv::qvpack
