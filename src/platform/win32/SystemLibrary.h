#pragma once
// Libraries the program loads by name come from the system folder only.
// An update program is typically started from a download folder: a DLL of
// the same name planted there, or in the current folder, must never run.
#include <string>

#include "platform/win32/Win32Handles.h"

namespace qv::win32 {

// The full path of a library of that name in the system folder; "" when
// Windows gives no system folder.
std::string SystemLibraryPath(const std::string& name);

// Loads the library from the system folder, its own dependencies from there
// too; an empty module when it is not there or does not load (the last
// error then tells why). No system error box is shown.
UniqueModule LoadSystemLibrary(const std::string& name);

}  // namespace qv::win32
