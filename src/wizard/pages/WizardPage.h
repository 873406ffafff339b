#pragma once
// Base of the wizard's step pages: a borderless window that the wizard
// places inside its step area while the page is current, and parks in the
// hidden application window otherwise.
#include <windows.h>

#include <string>

#include "ui/GdiHandles.h"
#include "ui/Window.h"

namespace qv::wizard {

class WizardPage : public Window {
public:
    ~WizardPage() override = default;

    // The component name that Steps.txt matches ("frmWelcome"...).
    const std::string& Name() const { return name_; }

    virtual bool CanGoNext();
    // The step picture; owned by the page.
    virtual HBITMAP GetStepImage();
    virtual std::string GetNextCaption();
    // Called each time the page becomes current, just before it is shown.
    virtual void EnterStep();
    // Called when Next is pressed on this page.
    virtual void LeaveStep();
    // The control that takes the keyboard focus when the page is shown;
    // none by default.
    virtual HWND ActiveControl() { return nullptr; }

    // Makes the page a child of host with the host's font; the wizard then
    // sizes and shows it.
    void AttachTo(HWND host, HFONT hostFont);
    // Hides the page and takes it back to the parking window.
    void Detach();

protected:
    // Makes the page window (hidden, parked, at its design size) with the
    // step picture. Each page creates its own controls in its constructor,
    // so that a page exists only complete.
    WizardPage(const char* componentName, const char* className, HWND parking,
               COLORREF background = CLR_INVALID);

    // The page's client size changed.
    virtual void Resized(int /*width*/, int /*height*/) {}
    // The page's font changed (it takes its host panel's font).
    virtual void FontChanged(HFONT /*font*/) {}

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    std::string name_;
    HWND parking_;
    HFONT font_ = nullptr;
    UniqueBrush background_;
    UniqueBitmap stepPicture_;
};

}  // namespace qv::wizard
