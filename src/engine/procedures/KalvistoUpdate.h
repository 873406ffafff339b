#pragma once
// The two short procedures of the products without a database: Kalvisto's
// program in its recorded base folder, and the shared PDF library in the
// Windows system folder. Each replaces one file under the version and date
// rules and asks nobody where it is: a missing installation is an error,
// left to the update run like every other error of these two.
#include <string>

#include "core/ProductTables.h"
#include "core/UpdateStatus.h"

namespace qv {

class UpdateEngine;

// The only major version of Kalvisto this update replaces.
inline constexpr unsigned kKalvistoMajorVersion = 3;

// Replaces the program in the recorded base folder. Returns Ok, Ko or Not
// (CompareAndReplace); raises "Cannot find " + the program's name when the
// package lacks it, "Programme %s pas trouvé." (no base
// folder recorded, or no program in it) and, for an installed program
// without a version or of another major version than 3, its path, CR LF and
// "Version du fichier inconnue ou incompatible." (the file untouched).
UpdateStatus UpdateKalvisto(UpdateEngine& engine, ProductKind kind);

// Replaces the library in the shared system folder. Returns Ok, Ko or Not;
// raises "Cannot find " + its name and "Fichier pas trouvé : %s" when the
// library is not installed there (it is never installed where it is missing).
UpdateStatus UpdatePdfLibrary(UpdateEngine& engine, ProductKind kind);

}  // namespace qv
