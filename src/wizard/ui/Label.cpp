#include "ui/Label.h"

#include <vector>

#include "ControlIds.h"
#include "ui/GdiHandles.h"

namespace qv::wizard {

Label::Label(HWND parent, int id, const LabelStyle& style) : style_(style)
{
    Create(kLabelClass, 0, WS_CHILD | WS_VISIBLE, "", 0, 0, 0, 0, parent, id);
}

void Label::SetText(const std::string& text)
{
    ::SetWindowTextA(Handle(), text.c_str());
}

std::string Label::Text() const
{
    int n = ::GetWindowTextLengthA(Handle());
    std::string s(static_cast<std::size_t>(n) + 1, '\0');
    n = ::GetWindowTextA(Handle(), s.data(), n + 1);
    s.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return s;
}

void Label::SetFont(HFONT font)
{
    font_ = font;
    ::InvalidateRect(Handle(), nullptr, TRUE);
}

void Label::Paint()
{
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(Handle(), &ps);
    RECT client;
    ::GetClientRect(Handle(), &client);

    // Background: our own colour, or whatever the parent paints labels with.
    HBRUSH parentBrush = reinterpret_cast<HBRUSH>(::SendMessageA(
        ::GetParent(Handle()), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
        reinterpret_cast<LPARAM>(Handle())));
    if (style_.background != CLR_INVALID) {
        UniqueBrush brush(::CreateSolidBrush(style_.background));
        ::FillRect(dc, &client, brush.get());
    } else {
        ::FillRect(dc, &client, parentBrush ? parentBrush : ::GetSysColorBrush(COLOR_BTNFACE));
    }

    std::string text = Text();
    SelectedObject font(dc, font_ ? font_ : ::GetStockObject(DEFAULT_GUI_FONT));
    ::SetBkMode(dc, TRANSPARENT);
    UINT format = DT_NOPREFIX | DT_EXPANDTABS | (style_.wordWrap ? DT_WORDBREAK : DT_SINGLELINE);
    RECT r = client;
    if (style_.centred) {
        format |= DT_CENTER;
        // DT_VCENTER works on single lines only: measure, then centre.
        RECT measure = client;
        ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &measure,
                    format | DT_CALCRECT);
        int h = measure.bottom - measure.top;
        r.top = client.top + (client.bottom - client.top - h) / 2;
        r.bottom = r.top + h;
    }
    COLORREF color = style_.textColor != CLR_INVALID ? style_.textColor
                                                      : ::GetSysColor(COLOR_BTNTEXT);
    if (style_.raised) {
        // Embossed: a highlight above-left and a shadow below-right.
        RECT light = r, shadow = r;
        ::OffsetRect(&light, -1, -1);
        ::OffsetRect(&shadow, 1, 1);
        ::SetTextColor(dc, ::GetSysColor(COLOR_BTNHIGHLIGHT));
        ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &light, format);
        ::SetTextColor(dc, ::GetSysColor(COLOR_BTNSHADOW));
        ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &shadow, format);
    }
    ::SetTextColor(dc, color);
    ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, format);
    ::EndPaint(Handle(), &ps);
}

LRESULT Label::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        Paint();
        return 0;
    case WM_SETTEXT: {
        LRESULT r = Window::HandleMessage(message, wParam, lParam);
        ::InvalidateRect(Handle(), nullptr, TRUE);
        return r;
    }
    case WM_SIZE:
        ::InvalidateRect(Handle(), nullptr, TRUE);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(font_);
    case WM_SETFONT:
        SetFont(reinterpret_cast<HFONT>(wParam));
        return 0;
    default:
        return Window::HandleMessage(message, wParam, lParam);
    }
}

}  // namespace qv::wizard
