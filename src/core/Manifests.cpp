#include "core/Manifests.h"

#include <algorithm>

#include "core/Text.h"

namespace qv::manifest {

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
