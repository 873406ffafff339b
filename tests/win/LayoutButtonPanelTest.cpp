#include <gtest/gtest.h>
#include <windows.h>

#include "ui/LayoutButtonPanel.h"

namespace qv::wizard {
namespace {

struct Strip {
    HWND parent = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 600, 200, nullptr, nullptr,
                                    nullptr, nullptr);
    Panel panel{parent, 1};
    Strip() { ::MoveWindow(panel.Handle(), 0, 0, 400, 60, FALSE); }
    ~Strip() { ::DestroyWindow(parent); }

    HWND Add(const char* cls, DWORD style, int x, int w, int h)
    {
        return ::CreateWindowExA(0, cls, "", WS_CHILD | style, x, 5, w, h, panel.Handle(), nullptr,
                                 nullptr, nullptr);
    }
    static RECT In(HWND parentWindow, HWND h)
    {
        RECT r;
        ::GetWindowRect(h, &r);
        ::MapWindowPoints(nullptr, parentWindow, reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
};

TEST(LayoutButtonPanel, PacksVisibleButtonsRightInTheirOrder)
{
    struct Case {
        int height, margin;
    } cases[] = {{25, 10}, {22, 8}};
    for (auto c : cases) {
        SCOPED_TRACE(c.height);
        Strip s;
        // Created out of order: the left positions decide.
        HWND right = s.Add("BUTTON", WS_VISIBLE | BS_PUSHBUTTON, 200, 75, c.height);
        HWND left = s.Add("BUTTON", WS_VISIBLE | BS_PUSHBUTTON, 10, 90, 30);
        HWND hidden = s.Add("BUTTON", BS_PUSHBUTTON, 120, 50, 30);
        HWND label = s.Add("STATIC", WS_VISIBLE, 3, 40, 12);
        LayoutButtonPanel(s.panel);

        RECT client;
        ::GetClientRect(s.panel.Handle(), &client);
        EXPECT_EQ(client.bottom, c.height + 2 * c.margin);
        RECT r = Strip::In(s.panel.Handle(), right), l = Strip::In(s.panel.Handle(), left);
        EXPECT_EQ(r.right, 400 - c.margin);
        EXPECT_EQ(r.top, c.margin);
        EXPECT_EQ(l.right, r.left - c.margin);
        EXPECT_EQ(l.bottom - l.top, c.height) << "all as high as the rightmost";
        EXPECT_EQ(l.right - l.left, 90);
        // The hidden button and the label stay where they were.
        RECT h = Strip::In(s.panel.Handle(), hidden), t = Strip::In(s.panel.Handle(), label);
        EXPECT_EQ(h.left, 120);
        EXPECT_EQ(h.top, 5);
        EXPECT_EQ(t.left, 3);

        // Anchored right: a wider strip keeps the gap at the right edge.
        ::MoveWindow(s.panel.Handle(), 0, 0, 500, client.bottom, FALSE);
        EXPECT_EQ(Strip::In(s.panel.Handle(), right).right, 500 - c.margin);
    }
}

}  // namespace
}  // namespace qv::wizard
