#pragma once
// Which payload names a package may carry. A name is a path relative to the
// folder the file is installed in; the wizard appends it to that folder, so
// a name that is absolute, carries a drive or climbs out with ".." would
// write outside it.
#include <string>
#include <string_view>

namespace qv::qvpack {

// Why name may not be packaged or extracted, or "" when it may.
std::string UnsafeNameReason(std::string_view name);

}  // namespace qv::qvpack
