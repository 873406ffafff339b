#pragma once
// A flat square button showing a glyph (the pages' print buttons): drawn
// flat, raised while the mouse is over it, sunken while pressed.
#include <windows.h>

#include "ui/GdiHandles.h"

namespace qv::wizard {

class SpeedButton {
public:
    SpeedButton(HWND parent, int id, int iconResource, int x, int y, int size);
    HWND Handle() const { return button_; }

    // The parent forwards WM_DRAWITEM for this button here.
    void Draw(const DRAWITEMSTRUCT& item) const;

private:
    static LRESULT CALLBACK HoverProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

    HWND button_ = nullptr;
    UniqueIcon glyph_;
    int glyphSize_ = 16;
};

}  // namespace qv::wizard
