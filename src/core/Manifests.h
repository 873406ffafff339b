#pragma once
// The package's manifests: their packaged names, the fixed packaged names
// each kind of product needs, and the line rules of Updates.txt and
// Steps.txt. Reading them goes through the engine's embedded file access.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/ProductTables.h"

namespace qv::manifest {

inline constexpr char kAppInfo1[] = "AppInfo1.txt";      // first line: display name
inline constexpr char kAppInfo2[] = "AppInfo2.txt";      // welcome text appendix
inline constexpr char kUpdateInfo[] = "UpdateInfo.txt";  // RTF list of changes
inline constexpr char kSteps[] = "Steps.txt";            // extra step pages
inline constexpr char kUpdates[] = "Updates.txt";        // products to update
inline constexpr char kFileNames[] = "FileNames.txt";    // payload files to install
inline constexpr char kPrintLists[] = "PrintLists.txt";  // print-parameter lists

// The program reads a manifest whole into memory: a text manifest (read as
// lines) is at most kMaxTextManifestLength bytes, the list of changes (RTF,
// which may carry pictures) at most kMaxChangesListLength. The print lists
// are the products' data, not bounded here.
inline constexpr std::int64_t kMaxTextManifestLength = std::int64_t{1} << 20;  // 1 MiB
inline constexpr std::int64_t kMaxChangesListLength = std::int64_t{16} << 20;  // 16 MiB

// The bound of a manifest by its packaged name (any case):
// kMaxChangesListLength for UpdateInfo.txt, kMaxTextManifestLength for the
// other manifests above; 0 for any other name, a payload file.
std::int64_t ManifestMaxLength(std::string_view packagedName);

// The packaged names a product kind's procedure cannot do without besides
// the lines of FileNames.txt, the main or marker file first (empty for
// None): the kind's fixed files. Its companions, copied only when the
// package holds them, are not among them.
std::vector<std::string_view> FixedPackagedNames(ProductKind kind);

// Updates.txt: keeps the lines that occur, with exact case, inside one of
// the catalogue's product names (a loose filter: whether a line names a
// product is decided when the update runs), in file order, dropping a line
// equal to an earlier kept one without regard to case. An empty line is
// never kept.
std::vector<std::string> FilterUpdateLines(const std::vector<std::string>& lines);

// FileNames.txt and PrintLists.txt: raises qv::Error naming the manifest,
// the line and the reason at the first line whose name the package tool
// would refuse (core/PackagedNames.h): a device name, a name Windows would
// trim, a path leaving its folder. An empty line passes: its copy alone
// fails when it is made.
void CheckInstalledNameLines(std::string_view manifestName, const std::vector<std::string>& lines);

// Steps.txt: the page list. standardPages are the welcome, list-of-changes
// and report pages, in that order; knownPages every page that can be named
// (standard and product-specific), by component name. Matching lines add
// their page after the first two, in file order, once; the report page comes
// last unless a line placed it already. Returns component names as given in
// knownPages.
std::vector<std::string> ApplyStepLines(const std::vector<std::string>& lines,
                                        const std::vector<std::string>& standardPages,
                                        const std::vector<std::string>& knownPages);

}  // namespace qv::manifest
