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

// The first thing the program does: every library loaded by name from now
// on, by the program or by a system component on its behalf, is looked for
// in the system folder only (never beside the program, often a download
// folder, nor in the current folder); and Windows shows no error box of its
// own ("no disk in drive") that would wait for an answer: the call fails
// and the program reports it.
void SecureProcessStart();

}  // namespace qv::win32
