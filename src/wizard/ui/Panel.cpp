#include "ui/Panel.h"

#include "ControlIds.h"

namespace qv::wizard {

Panel::Panel(HWND parent, int id, Bevel bevel) : bevel_(bevel)
{
    Create(kPanelClass, WS_EX_CONTROLPARENT, WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, "", 0,
           0, 0, 0, parent, id);
}

void Panel::SetColor(COLORREF color)
{
    if (color == color_)
        return;
    color_ = color;
    brush_.reset(color == CLR_INVALID ? nullptr : ::CreateSolidBrush(color));
    ::InvalidateRect(Handle(), nullptr, TRUE);
}

COLORREF Panel::Color() const
{
    return color_ == CLR_INVALID ? ::GetSysColor(COLOR_BTNFACE) : color_;
}

void Panel::SetCaption(const std::string& text)
{
    ::SetWindowTextA(Handle(), text.c_str());
    ::InvalidateRect(Handle(), nullptr, TRUE);
}

void Panel::AnchorRightBottom(HWND child)
{
    RECT client, r;
    ::GetClientRect(Handle(), &client);
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&r), 2);
    anchors_[child] = SIZE{client.right - r.left, client.bottom - r.top};
}

void Panel::Resized(int width, int height)
{
    for (auto it = anchors_.begin(); it != anchors_.end();) {
        if (!::IsWindow(it->first) || ::GetParent(it->first) != Handle()) {
            it = anchors_.erase(it);
            continue;
        }
        ::SetWindowPos(it->first, nullptr, width - it->second.cx, height - it->second.cy, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        ++it;
    }
    if (onResize)
        onResize(width, height);
}

void Panel::Paint()
{
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(Handle(), &ps);
    RECT r;
    ::GetClientRect(Handle(), &r);
    HBRUSH brush = brush_ ? brush_.get() : ::GetSysColorBrush(COLOR_BTNFACE);
    ::FillRect(dc, &r, brush);
    if (bevel_ != Bevel::None)
        ::DrawEdge(dc, &r, bevel_ == Bevel::Lowered ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);

    char text[256] = {};
    int n = ::GetWindowTextA(Handle(), text, sizeof text);
    if (n > 0) {
        SelectedObject font(dc, captionFont_ ? captionFont_ : ::GetStockObject(DEFAULT_GUI_FONT));
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
        ::DrawTextA(dc, text, n, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    ::EndPaint(Handle(), &ps);
}

LRESULT Panel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ERASEBKGND:
        return 1;  // painted in WM_PAINT
    case WM_PAINT:
        Paint();
        return 0;
    case WM_SIZE:
        Resized(LOWORD(lParam), HIWORD(lParam));
        ::InvalidateRect(Handle(), nullptr, TRUE);
        return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
        // Labels and buttons on a panel take the panel's colour.
        HDC dc = reinterpret_cast<HDC>(wParam);
        ::SetBkColor(dc, Color());
        return reinterpret_cast<LRESULT>(brush_ ? brush_.get() : ::GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
        // The owner of the panel handles its children's notifications.
        return ::SendMessageA(::GetParent(Handle()), message, wParam, lParam);
    default:
        return Window::HandleMessage(message, wParam, lParam);
    }
}

}  // namespace qv::wizard
