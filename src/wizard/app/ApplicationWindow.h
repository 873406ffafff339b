#pragma once
// The hidden application window: it owns the step pages while they are not
// shown in the wizard.
#include "ui/ErrorHandler.h"
#include "ui/Window.h"

namespace qv::wizard {

class ApplicationWindow : public Window {
public:
    ApplicationWindow()
    {
        Create("QvApplication", 0, WS_POPUP | WS_CLIPCHILDREN, ApplicationTitle(), 0, 0, 0, 0,
               nullptr);
    }
};

}  // namespace qv::wizard
