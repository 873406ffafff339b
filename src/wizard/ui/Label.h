#pragma once
// A label drawn by the wizard itself: the welcome text, the title strip and
// the embossed version label. Its text is the window text, so it reads back
// with WM_GETTEXT like any static control.
#include <windows.h>

#include <string>

#include "ui/Window.h"

namespace qv::wizard {

struct LabelStyle {
    COLORREF textColor = CLR_INVALID;   // CLR_INVALID: the button-text colour
    COLORREF background = CLR_INVALID;  // CLR_INVALID: the parent's colour (WM_CTLCOLORSTATIC)
    bool centred = false;               // centred both ways
    bool wordWrap = true;
    bool raised = false;                // embossed text
};

class Label : public Window {
public:
    Label(HWND parent, int id, const LabelStyle& style);

    void SetText(const std::string& text);
    std::string Text() const;
    void SetFont(HFONT font);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Paint();

    LabelStyle style_;
    HFONT font_ = nullptr;
};

}  // namespace qv::wizard
