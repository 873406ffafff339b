#pragma once
// The wizard is designed at 120 dots per inch; every size is scaled to the
// screen's resolution when a window is laid out.
#include <windows.h>

#include <string>

#include "ui/GdiHandles.h"

namespace qv::wizard {

// The screen's vertical resolution, read once.
int ScreenDpi();

// A length of the 120-dpi design, in screen pixels.
int Scale(int designPixels);

enum class FontWeight { Normal, Bold };

// A font whose character height is given in pixels of the design.
UniqueFont MakeFont(const char* face, int designCharHeight,
                    FontWeight weight = FontWeight::Normal);

}  // namespace qv::wizard
