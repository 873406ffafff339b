#include "ui/Dpi.h"

#include <cstring>

namespace qv::wizard {

int ScreenDpi()
{
    static const int dpi = [] {
        WindowDc screen(nullptr);
        int d = ::GetDeviceCaps(screen.get(), LOGPIXELSY);
        return d > 0 ? d : 96;
    }();
    return dpi;
}

int Scale(int designPixels)
{
    return ::MulDiv(designPixels, ScreenDpi(), 120);
}

UniqueFont MakeFont(const char* face, int designCharHeight, FontWeight weight)
{
    LOGFONTA lf{};
    lf.lfHeight = -Scale(designCharHeight);  // negative: character height
    lf.lfWeight = weight == FontWeight::Bold ? FW_BOLD : FW_NORMAL;
    lf.lfCharSet = ANSI_CHARSET;             // Western
    lf.lfQuality = DEFAULT_QUALITY;
    std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    return UniqueFont(::CreateFontIndirectA(&lf));
}

}  // namespace qv::wizard
