#pragma once
// The welcome page: what the update is for, on a white page.
#include <memory>
#include <string>

#include "pages/WizardPage.h"
#include "ui/Label.h"

namespace qv::wizard {

class WelcomePage : public WizardPage {
public:
    explicit WelcomePage(HWND parking);

    // The welcome text for the title (or "?") and the extra text, whose
    // lines each end with CR LF already.
    void SetWelcomeText(const std::string& title, const std::string& extra);

protected:
    void Resized(int width, int height) override;
    void FontChanged(HFONT font) override;

private:
    void CreateControls();

    std::unique_ptr<Label> welcomeLabel_;
};

}  // namespace qv::wizard
