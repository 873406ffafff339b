#pragma once
// The update of the main product in its two editions (Telvarin, Telvarin
// Ingenieur): the edition's program is replaced under the version and date
// rules, then the library beside it without comparison (only where it is
// installed), then the print lists go into every company's database.
#include "core/ProductTables.h"
#include "core/UpdateStatus.h"

namespace qv {

class UpdateEngine;

// kind: Telvarin or TelvarinIngenieur, whose edition folder under the
// products root holds Programs\ + the kind's main file. Raises, unhandled,
// "Cannot find " + that name when the package lacks it; every later error
// becomes Ko with its report line. Ko without a report line when the root
// or the program is not found (the user was told).
UpdateStatus UpdateMainProduct(UpdateEngine& engine, ProductKind kind);

}  // namespace qv
