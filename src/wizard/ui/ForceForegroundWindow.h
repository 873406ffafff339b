#pragma once
#include <windows.h>

namespace qv::wizard {

// Brings window to the front even when another process owns the
// foreground: restores it if minimised, then attaches to the foreground
// thread's input or, failing that, lifts the foreground lock time-out for a
// moment. True when the window ends up in the foreground.
bool ForceForegroundWindow(HWND window);

}  // namespace qv::wizard
