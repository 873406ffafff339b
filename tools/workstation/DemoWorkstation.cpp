// The demo's workstation, run in the demo's Wine prefix:
//   demo_workstation make PAYLOAD            the older suite installation
//                                            and its record
//   demo_workstation check PAYLOAD [LISTING] what the update left: every
//                                            packaged file equals its bytes
//                                            and time stamp where installed,
//                                            and no Update*.tmp is left
// PAYLOAD is the package's folder as the build generated it. Without
// LISTING the installation checked is the suite's, whose record must name
// its marker; LISTING is a file of "packaged name<TAB>installed path" lines
// (Windows paths; packaged names relative to PAYLOAD) for another product.
// Exit code 0 when all is as expected, 1 otherwise, 2 for a bad command.
#include <cstdio>
#include <fstream>
#include <string>

#include "SuiteInstallation.h"

namespace ws = qv::workstation;

namespace {

std::vector<ws::InstalledFile> ReadListing(const ws::fs::path& payload, const char* listing)
{
    std::vector<ws::InstalledFile> files;
    std::ifstream in(listing, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const size_t tab = line.find('\t');
        if (tab == std::string::npos)
            continue;
        files.emplace_back(payload / line.substr(0, tab), line.substr(tab + 1));
    }
    return files;
}

int Check(const ws::fs::path& payload, const char* listing)
{
    const std::vector<ws::InstalledFile> files =
        listing ? ReadListing(payload, listing) : ws::SuiteFiles(payload);
    const std::vector<std::string> differing = ws::DifferingFromPackage(files);
    for (const std::string& path : differing)
        std::printf("demo: not updated: %s\n", path.c_str());
    const int leftovers = ws::LeftoverTemporaryFiles();
    bool recorded = true;
    std::printf("demo: files checked: %zu, differing from the package: %zu; ", files.size(),
                differing.size());
    if (!listing) {
        const std::string record = ws::RecordedMarker();
        recorded = record == ws::kMarker;
        std::printf("registry: %s; ", record.empty() ? "none" : record.c_str());
    }
    std::printf("Update*.tmp left: %d\n", leftovers);
    return !files.empty() && differing.empty() && leftovers == 0 && recorded ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string command = argc >= 3 ? argv[1] : "";
    if (command == "make" && argc == 3) {
        if (!ws::MakeOlderSuiteInstallation(argv[2])) {
            std::fprintf(stderr, "demo: the older installation could not be laid out\n");
            return 1;
        }
        std::printf("demo: workstation ready in %s (every packaged folder but %s, older files)\n",
                    ws::kSuite, ws::PackagedFolders(argv[2])[1].c_str());
        return 0;
    }
    if (command == "check" && (argc == 3 || argc == 4))
        return Check(argv[2], argc == 4 ? argv[3] : nullptr);
    std::fprintf(stderr, "usage: demo_workstation make PAYLOAD | check PAYLOAD [LISTING]\n");
    return 2;
}
