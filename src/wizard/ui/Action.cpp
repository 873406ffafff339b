#include "ui/Action.h"

namespace qv::wizard {

void Action::Bind(HWND button)
{
    button_ = button;
    ::SetWindowTextA(button_, caption_.c_str());
    ::EnableWindow(button_, enabled_);
}

void Action::SetCaption(const std::string& caption)
{
    if (caption == caption_)
        return;
    caption_ = caption;
    if (button_)
        ::SetWindowTextA(button_, caption_.c_str());
}

void Action::SetEnabled(bool enabled)
{
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    if (button_)
        ::EnableWindow(button_, enabled_);
}

void Action::Execute()
{
    if (enabled_ && onExecute)
        onExecute();
}

}  // namespace qv::wizard
