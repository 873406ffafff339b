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

inline constexpr char kKalvistoProgram[] = "Kalvisto.exe";
inline constexpr char kPdfLibrary[] = "wPDF200A.dll";
// The only major version of Kalvisto this update replaces.
inline constexpr unsigned kKalvistoMajorVersion = 3;

// Replaces BaseFolder\Kalvisto.exe. Returns Ok, Ko or Not (CompareAndReplace);
// raises "Cannot find Kalvisto.exe", "Programme %s pas trouvé." (no base
// folder recorded, or no program in it) and, for an installed program
// without a version or of another major version than 3, its path, CR LF and
// "Version du fichier inconnue ou incompatible." (the file untouched).
UpdateStatus UpdateKalvisto(UpdateEngine& engine, ProductKind kind);

// Replaces the shared system folder's wPDF200A.dll. Returns Ok, Ko or Not;
// raises "Cannot find wPDF200A.dll" and "Fichier pas trouvé : %s" when the
// library is not installed there (it is never installed where it is missing).
UpdateStatus UpdatePdfLibrary(UpdateEngine& engine, ProductKind kind);

}  // namespace qv
