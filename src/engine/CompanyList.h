#pragma once
// The companies of the workstation. One workstation can serve several
// companies, each with its own product database; they are named, one per
// line, in the company file "multiste.txt". The list is loaded once when
// the update engine is created and read by the print-list import; the
// company-selection dialog shows it and remembers the choice.
//
// This is the dialog's state without its window: the list and its
// selection, the company file found, whether the dialog was left with OK,
// and what OK and Annuler do. The dialog (wizard/ui) maps its keys and
// buttons onto it.
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/Registry.h"

namespace qv {

// The current user's key of the last company chosen, and its value.
inline constexpr char kCompanyChoiceKey[] = "Software\\QUORVEX S.A.\\Multiste";
inline constexpr char kLastCompanyValue[] = "LastCompany";
// A machine-wide key of the products' multi-company mode; it is removed at
// every start, so no product stays in that mode after an update.
inline constexpr char kMultiCompanyMachineKey[] = "Software\\QUORVEX S.A.\\MultiSte";

class CompanyList {
public:
    // files and registry must outlive the list. Nothing is read until
    // LoadCompanies.
    CompanyList(FileSystem& files, Registry& registry);

    // Removes the machine-wide multi-company key (any failure ignored).
    void RemoveMultiCompanyMachineKey();
    // The first company file that exists: the four places under drive C,
    // then the same four under the Windows folder's drive; "" when there is
    // none.
    std::string FindCompanyFile() const;

    // Removes the machine-wide multi-company key, then replaces the list
    // with the lines of the company file (nothing when there is none) and
    // selects the last company chosen, or the first.
    // A company file that exists but cannot be read raises its error (the
    // list is then empty), and so does one larger than 1 MiB or saved with
    // a UTF-16 or UTF-8 byte-order mark, and a "LastCompany" key that exists
    // but cannot be read (nothing is then selected).
    void LoadCompanies();

    // The entries exactly as read: no trimming, no sorting, duplicates
    // kept. The empty name stands for the company "Default".
    int Count() const { return static_cast<int>(entries_.size()); }
    const std::string& Entry(int index) const;  // raises for a bad index
    const std::vector<std::string>& Entries() const { return entries_; }

    // The selected entry's position, -1 when nothing is selected (an empty
    // list), and its text ("" then).
    int SelectedIndex() const { return selected_; }
    void Select(int index);  // -1 or a position of the list; raises otherwise
    std::string SelectedText() const;

    // The full path of the company file found, "" when there was none.
    const std::string& CompanyFile() const { return companyFile_; }

    // True until the dialog is left with OK, and again after Annuler.
    bool Cancelled() const { return cancelled_; }

    // --- what the dialog's OK and Annuler do ----------------------------------

    // OK: not cancelled; the selected text is remembered as the last company
    // chosen (a failure to write it is ignored). The dialog then closes.
    void ConfirmSelection();
    // Annuler: cancelled. The dialog then closes.
    void CancelSelection();

private:
    FileSystem& files_;
    Registry& registry_;
    std::vector<std::string> entries_;
    int selected_ = -1;
    std::string companyFile_;
    bool cancelled_ = true;
};

}  // namespace qv
