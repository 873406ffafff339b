#include "core/Manifests.h"

#include <algorithm>

#include "core/Text.h"

namespace qv::manifest {

std::vector<std::string_view> FixedPackagedNames(std::uint8_t kind)
{
    switch (kind) {
    case 1:
    case 2: return {"TELVARIN.EXE", "QUORVEX.DLL"};
    case 3: return {"TVRepertex2.dll"};
    case 4: return {"Kalvisto.exe"};
    case 5: return {"wPDF200A.dll"};
    case 6: return {"Obrenta.exe", "TVE_intf.dll", "OBEPFL.exe", "OBPCS.exe"};
    case 7: return {"TVPMargolin.exe"};
    case 8: return {"svz\\SA-00.int"};
    case 9: return {"gs\\GS-00.int"};
    case 10: return {"Dravik.exe"};
    default: return {};
    }
}

bool UsesFileNames(std::uint8_t kind)
{
    return kind == 7 || kind == 8 || kind == 9;
}

std::vector<std::string> FilterUpdateLines(const std::vector<std::string>& lines,
                                           const std::vector<std::string>& productNames)
{
    std::vector<std::string> kept;
    for (const std::string& line : lines) {
        bool inCatalogue = !line.empty() && std::any_of(productNames.begin(), productNames.end(),
            [&](const std::string& name) { return name.find(line) != std::string::npos; });
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
