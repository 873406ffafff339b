#include "ui/LayoutButtonPanel.h"

#include <algorithm>
#include <vector>

namespace qv::wizard {
namespace {

bool IsLaidOutButton(HWND child)
{
    char cls[16] = {};
    ::GetClassNameA(child, cls, sizeof cls);
    if (lstrcmpiA(cls, "Button") != 0)
        return false;
    LONG style = ::GetWindowLongA(child, GWL_STYLE);
    if (!(style & WS_VISIBLE))
        return false;
    LONG type = style & BS_TYPEMASK;
    // Push buttons, and the owner-drawn flat speed buttons.
    return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON || type == BS_OWNERDRAW;
}

}  // namespace

void LayoutButtonPanel(Panel& panel)
{
    HWND strip = panel.Handle();
    struct Item {
        HWND hwnd;
        RECT rect;
    };
    std::vector<Item> buttons;
    for (HWND c = ::GetWindow(strip, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
        if (!IsLaidOutButton(c))
            continue;
        RECT r;
        ::GetWindowRect(c, &r);
        ::MapWindowPoints(nullptr, strip, reinterpret_cast<POINT*>(&r), 2);
        buttons.push_back({c, r});
    }
    if (buttons.empty())
        return;
    std::stable_sort(buttons.begin(), buttons.end(),
                     [](const Item& a, const Item& b) { return a.rect.left < b.rect.left; });

    const int h = buttons.back().rect.bottom - buttons.back().rect.top;
    const int margin = h * 10 / 25;

    // Client height := h + 2 margins; the strip has no border of its own,
    // but keep any non-client part it may have.
    RECT window, client;
    ::GetWindowRect(strip, &window);
    ::GetClientRect(strip, &client);
    int extra = (window.bottom - window.top) - client.bottom;
    ::SetWindowPos(strip, nullptr, 0, 0, window.right - window.left, h + 2 * margin + extra,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::GetClientRect(strip, &client);

    int x = client.right;
    for (auto it = buttons.rbegin(); it != buttons.rend(); ++it) {
        int width = it->rect.right - it->rect.left;
        x -= margin + width;
        ::SetWindowPos(it->hwnd, nullptr, x, margin, width, h, SWP_NOZORDER | SWP_NOACTIVATE);
        panel.AnchorRightBottom(it->hwnd);
    }
}

}  // namespace qv::wizard
