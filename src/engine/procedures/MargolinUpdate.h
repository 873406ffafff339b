#pragma once
// The update of Margolin, a companion of the main product installed beside
// it under the same products root. Its program is the version stamp of the
// whole installation: it is compared first, every listed file is copied
// when the package is newer (or the user agrees), then the print-parameter
// files, and the program goes last, only when every listed copy succeeded.
// Margolin has no record of its own: its folder comes from the main
// product's record, and nobody is asked where it is.
#include <string>

#include "core/ProductTables.h"
#include "core/UpdateStatus.h"

namespace qv {

class UpdateEngine;
class Registry;

// The products root (two levels above the folder of the main product's
// recorded program) + "Margolin\Programs\". Without a record it is the
// relative "Margolin\Programs\".
std::string MargolinFolder(Registry& registry);

// Raises, unhandled, "Cannot find " + its program (the kind's main file,
// installed under the same name) when the package lacks it; every later error (the program not installed, a print file
// that cannot be written, the program's copy) becomes Ko with its report
// line.
UpdateStatus UpdateMargolin(UpdateEngine& engine, ProductKind kind);

// Margolin's print lists: every entry of PrintLists.txt written from the
// package into folder (relative to the current folder when empty), in the
// place of whatever is there, each with its report line, then an empty
// line. Each is written whole beside its place first, so a failed write
// leaves the old file as it was.
// Nothing without the list; an entry the package lacks is skipped; any
// failure raises "Cannot import resource files".
void WriteMargolinPrintLists(UpdateEngine& engine, const std::string& folder);

}  // namespace qv
