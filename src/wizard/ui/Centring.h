#pragma once
// Where the wizard's windows and boxes open: centred on the work area (the
// screen less the task bar) of a monitor.
#include <windows.h>

namespace qv::wizard {

// The top-left corner that centres a window of the given outer size on the
// work area of the monitor that shows |anchor|, or of the primary monitor
// when |anchor| is null.
POINT CentredPosition(int width, int height, HWND anchor = nullptr);

// Moves a window, keeping its size, to the centre of the work area of the
// monitor that shows it.
void CentreOnWorkArea(HWND window);

}  // namespace qv::wizard
