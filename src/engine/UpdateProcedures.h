#pragma once
// The update procedure of each product kind, as the update run dispatches
// them. A kind whose procedure this build does not have yet has no entry:
// the run then ends as for a procedure that failed.
#include "core/ProductTables.h"
#include "core/UpdateStatus.h"

namespace qv {

class UpdateEngine;

using UpdateProcedure = UpdateStatus (*)(UpdateEngine& engine, ProductKind kind);

// nullptr when this build has no procedure for the kind (and for None).
UpdateProcedure FindUpdateProcedure(ProductKind kind);

}  // namespace qv
