#pragma once
// Which payload names a package may carry, in the package tool's words. The
// rule is the program's own (core/PackagedNames.h): a name is a path
// relative to the folder the file is installed in, appended to that folder,
// so a name that is absolute, carries a drive or climbs out with ".." would
// write outside it, and one that Windows reads as a device or trims would
// write somewhere else than named.
#include <string>
#include <string_view>

namespace qv::qvpack {

// Why name may not be packaged or extracted, or "" when it may.
std::string UnsafeNameReason(std::string_view name);

}  // namespace qv::qvpack
