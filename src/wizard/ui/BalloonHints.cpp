#include "ui/BalloonHints.h"

#include <commctrl.h>

#include "ui/Dpi.h"

namespace qv::wizard {

namespace {
constexpr int kHintPauseMs = 500;
constexpr int kHintHidePauseMs = 20000;
constexpr int kHintWidth = 200;
}  // namespace

BalloonHints::BalloonHints(HWND owner)
{
    tooltip_.reset(::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                                     WS_POPUP | TTS_BALLOON | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                     CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                     owner, nullptr, ::GetModuleHandleA(nullptr), nullptr));
    if (!tooltip_)
        return;  // hints are a comfort: the wizard works without them
    HWND tip = tooltip_.get();
    ::SendMessageA(tip, TTM_SETDELAYTIME, TTDT_INITIAL, kHintPauseMs);
    ::SendMessageA(tip, TTM_SETDELAYTIME, TTDT_AUTOPOP, kHintHidePauseMs);
    ::SendMessageA(tip, TTM_SETMAXTIPWIDTH, 0, Scale(kHintWidth));
    ::SendMessageA(tip, TTM_SETTIPBKCOLOR, ::GetSysColor(COLOR_INFOBK), 0);
    ::SendMessageA(tip, TTM_SETTIPTEXTCOLOR, ::GetSysColor(COLOR_INFOTEXT), 0);
}

void BalloonHints::Add(HWND control, const std::string& hint)
{
    if (!tooltip_)
        return;
    TOOLINFOA ti{};
    ti.cbSize = sizeof ti;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = ::GetParent(control);
    ti.uId = reinterpret_cast<UINT_PTR>(control);
    ti.lpszText = const_cast<char*>(hint.c_str());
    ::SendMessageA(tooltip_.get(), TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
}

}  // namespace qv::wizard
