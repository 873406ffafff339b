#include "core/Manifests.h"

#include <algorithm>

#include "core/Errors.h"
#include "core/Format.h"
#include "core/PackagedNames.h"
#include "core/Text.h"
#include "core/Texts.h"

namespace qv::manifest {

std::int64_t ManifestMaxLength(std::string_view packagedName)
{
    if (EqualsIgnoreCaseAscii(packagedName, kUpdateInfo))
        return kMaxChangesListLength;
    for (const char* name : {kAppInfo1, kAppInfo2, kSteps, kUpdates, kFileNames, kPrintLists})
        if (EqualsIgnoreCaseAscii(packagedName, name))
            return kMaxTextManifestLength;
    return 0;
}

std::vector<std::string_view> FixedPackagedNames(ProductKind kind)
{
    std::vector<std::string_view> names;
    for (std::string_view name : DescriptorOf(kind).fixedFiles)
        if (!name.empty())
            names.push_back(name);
    return names;
}

std::vector<std::string> FilterUpdateLines(const std::vector<std::string>& lines)
{
    std::vector<std::string> kept;
    for (const std::string& line : lines) {
        bool inCatalogue = !line.empty() && std::any_of(kProductKinds.begin(), kProductKinds.end(),
            [&](ProductKind kind) { return DescriptorOf(kind).name.find(line) != std::string_view::npos; });
        bool seen = std::any_of(kept.begin(), kept.end(),
            [&](const std::string& k) { return EqualsIgnoreCaseAscii(k, line); });
        if (inCatalogue && !seen)
            kept.push_back(line);
    }
    return kept;
}

namespace {

const char* FaultText(PackagedNameFault fault)
{
    switch (fault) {
    case PackagedNameFault::Absolute: return texts::kNameAbsolute;
    case PackagedNameFault::Drive: return texts::kNameDrive;
    case PackagedNameFault::ForbiddenCharacter: return texts::kNameForbiddenCharacter;
    case PackagedNameFault::ClimbsOut: return texts::kNameClimbsOut;
    case PackagedNameFault::EmptyComponent: return texts::kNameEmptyComponent;
    case PackagedNameFault::DeviceName: return texts::kNameDevice;
    case PackagedNameFault::TrailingDotOrBlank: return texts::kNameTrailingDotOrBlank;
    case PackagedNameFault::None:
    case PackagedNameFault::Empty: break;
    }
    return "";
}

}  // namespace

void CheckInstalledNameLines(std::string_view manifestName, const std::vector<std::string>& lines)
{
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const PackagedNameFault fault = CheckPackagedName(lines[i]);
        if (fault == PackagedNameFault::None || fault == PackagedNameFault::Empty)
            continue;
        throw Error(Format(texts::kManifestLineRefused,
                           {manifestName, static_cast<long long>(i + 1), lines[i], FaultText(fault)}));
    }
}

std::vector<std::string> ApplyStepLines(const std::vector<std::string>& lines,
                                        const std::vector<std::string>& standardPages,
                                        const std::vector<std::string>& knownPages)
{
    std::vector<std::string> pages;
    for (std::size_t i = 0; i < standardPages.size() && i < 2; ++i)
        pages.push_back(standardPages[i]);
    auto listed = [&](const std::string& name) {
        return std::any_of(pages.begin(), pages.end(),
            [&](const std::string& p) { return EqualsIgnoreCaseAscii(p, name); });
    };
    for (const std::string& line : lines) {
        auto page = std::find_if(knownPages.begin(), knownPages.end(),
            [&](const std::string& known) { return EqualsIgnoreCaseAscii(known, line); });
        if (page != knownPages.end() && !listed(*page))
            pages.push_back(*page);
    }
    if (standardPages.size() > 2 && !listed(standardPages[2]))
        pages.push_back(standardPages[2]);
    return pages;
}

}  // namespace qv::manifest
