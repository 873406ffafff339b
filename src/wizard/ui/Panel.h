#pragma once
// A container window: a coloured area with an optional bevel and an
// optional centred caption. It passes its children's notifications on to its
// parent, so a button inside a panel reaches the window that owns the panel.
#include <windows.h>

#include <functional>
#include <map>
#include <string>

#include "ui/GdiHandles.h"
#include "ui/Window.h"

namespace qv::wizard {

enum class Bevel { None, Lowered, Raised };

class Panel : public Window {
public:
    // A hidden child of parent; show it with ShowWindow when laid out.
    Panel(HWND parent, int id, Bevel bevel = Bevel::None);

    // The background colour; CLR_INVALID restores the button-face colour.
    void SetColor(COLORREF color);
    COLORREF Color() const;
    void SetCaptionFont(HFONT font) { captionFont_ = font; }
    // The caption is the window text, drawn centred both ways.
    void SetCaption(const std::string& text);

    // Called after every size change with the new client size.
    std::function<void(int width, int height)> onResize;

    // Keeps child at its distance from the right and bottom edges when the
    // panel is resized.
    void AnchorRightBottom(HWND child);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Paint();
    void Resized(int width, int height);

    Bevel bevel_;
    COLORREF color_ = CLR_INVALID;
    UniqueBrush brush_;
    HFONT captionFont_ = nullptr;
    std::map<HWND, SIZE> anchors_;  // child -> distance of its left/top from right/bottom
};

}  // namespace qv::wizard
