#pragma once
// The update of Dravik: its one program, found where it is recorded (or
// where the user points), replaced under the version and date rules; then
// the print lists go into every company's Dravik database.
#include "core/ProductTables.h"
#include "core/UpdateStatus.h"

namespace qv {

class UpdateEngine;

// Raises, unhandled, "Cannot find " + its program when the package
// lacks it; every later error becomes Ko with its report line. Ko without a
// report line when the program is neither where it is recorded nor chosen
// by the user; a chosen program is updated, its record left as it was.
UpdateStatus UpdateDravik(UpdateEngine& engine, ProductKind kind);

}  // namespace qv
