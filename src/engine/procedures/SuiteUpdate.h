#pragma once
// The update of the two suites whose installation is versioned by a marker
// file (Sovenza, Quorvex Finance): the markers are compared, every listed
// file is copied when the package is newer (or the user agrees), and the
// marker goes last, only when every other copy succeeded, so that a run that
// failed half-way is repeated in full next time.
#include <string>

#include "core/ProductTables.h"
#include "core/UpdateStatus.h"

namespace qv {

class UpdateEngine;

// The suite folder's name searched for on the drives when nothing is recorded.
inline constexpr char kSuiteFolderName[] = "Quorvex5";

// The marker of Sovenza or Quorvex Finance, relative to the suite folder.
std::string SuiteMarker(ProductKind kind);

// Raises, unhandled, "Cannot find " + marker when the package lacks the
// marker, "Répertoire Quorvex5 pas trouvé." when the user gives up the
// search, and registry read errors; every later error becomes Ko with its
// report line.
UpdateStatus UpdateSuite(UpdateEngine& engine, ProductKind kind);

}  // namespace qv
