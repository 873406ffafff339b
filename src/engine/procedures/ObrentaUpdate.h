#pragma once
// The update of Obrenta: its program is replaced under the version and date
// rules, then its interface library (which must be installed beside it
// before anything is touched) and, only where they are installed, its two
// companion programs, all without comparison; then the print lists go into
// every company's Obrenta database.
#include "core/ProductTables.h"
#include "core/UpdateStatus.h"

namespace qv {

class UpdateEngine;

// Raises, unhandled, "Cannot find " + its program when the package lacks
// it; every later error becomes Ko with its report line, naming the
// file handled last. Ko without a report line when the program is neither
// where it is recorded nor chosen by the user.
UpdateStatus UpdateObrenta(UpdateEngine& engine, ProductKind kind);

}  // namespace qv
