#pragma once
// What the package tool refuses in a package, one line each (UTF-8): verify
// reports these problems, make refuses to write a program that has any.
#include <string>
#include <vector>

#include "core/PackageFile.h"

namespace qv::qvpack {

// Damaged stored forms, names not upper-cased, refused or colliding names,
// lines of FileNames.txt and PrintLists.txt naming no packaged file or a
// refused name, manifests longer than the program reads, and manifests or
// listed print lists the program would cut (a NUL byte, UTF-16).
std::vector<std::string> PackageProblems(const std::vector<PackageEntry>& entries);

// What a package needs to update anything: AppInfo1.txt (the title),
// Updates.txt naming a product of the family, and the packaged names the
// procedure of that product extracts besides FileNames.txt.
std::vector<std::string> ManifestProblems(const std::vector<PackageEntry>& entries);

}  // namespace qv::qvpack
