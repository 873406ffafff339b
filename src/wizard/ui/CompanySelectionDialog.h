#pragma once
// The company-selection dialog: the companies of the workstation in a
// pick-only list, OK and Annuler. The update never shows it; it is here for
// a caller that lets the user choose one company. The choice, the list and
// what the buttons do belong to the company list (CompanyList); this window
// only shows them.
#include <windows.h>

#include <memory>

#include "engine/CompanyList.h"
#include "platform/UserInteraction.h"
#include "ui/GdiHandles.h"
#include "ui/Panel.h"
#include "ui/Window.h"

namespace qv::wizard {

// A key pressed in the dialog's list (a Windows virtual-key code): Enter
// confirms, Escape cancels (the dialog then closes), any other key is left
// to the list.
enum class ListKeyOutcome { LeftToList, Confirmed, Cancelled };
ListKeyOutcome HandleCompanyListKey(CompanyList& companies, unsigned virtualKey);

class CompanySelectionDialog : public Window {
public:
    // Creates the hidden window with its controls. companies and user must
    // outlive the dialog.
    CompanySelectionDialog(CompanyList& companies, UserInteraction& user);

    // Shows the list with its selection, centred on the screen, and keeps
    // owner (may be null) disabled until the dialog is left with OK,
    // Annuler, Enter or Escape in the list, or the close box (as Annuler).
    // True when it was left with OK. A WM_QUIT seen meanwhile is posted
    // again and ends the dialog as cancelled.
    bool ShowModal(HWND owner);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void CreateControls();
    void FillList();
    void TakeSelectionFromList();
    void Confirm();
    void Cancel();
    // Enter and Escape in the list; true when the key was taken.
    bool ListKeyDown(unsigned key);
    // The hidden Info button: names the company file.
    void ShowCompanyFileInfo();

    CompanyList& companies_;
    UserInteraction& user_;
    UniqueFont font_;
    std::unique_ptr<Panel> buttonPanel_;
    HWND companyLabel_ = nullptr;
    HWND companyList_ = nullptr;
    HWND okButton_ = nullptr;
    HWND cancelButton_ = nullptr;
    HWND infoButton_ = nullptr;
    bool closed_ = true;
};

}  // namespace qv::wizard
