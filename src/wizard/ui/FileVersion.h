#pragma once
#include <string>
namespace qv::wizard {
// The "FileVersion" string of the program's own version resource, as
// stored; empty when it has none.
std::string OwnFileVersion();
}  // namespace qv::wizard
