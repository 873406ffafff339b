#pragma once
// The update of the address book, a library installed below the products
// root (its folder's Programs folder): replaced under the version and
// date rules, then recorded as the address book's installation, then the
// print lists go into every company's address-book database.
#include "core/ProductTables.h"
#include "core/UpdateStatus.h"

namespace qv {

class UpdateEngine;

// Raises, unhandled, "Cannot find " + the library's name when the package
// lacks it; every later error becomes Ko with its report line. Ko
// without a report line when the products root is not found.
UpdateStatus UpdateRepertex(UpdateEngine& engine, ProductKind kind);

}  // namespace qv
