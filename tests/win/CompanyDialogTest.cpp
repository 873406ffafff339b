// The company list on the prefix's real files and registry; then the
// company-selection dialog, made once and shown modally several times,
// driven from a second thread as a person would: the list's keys and the
// two buttons. Started with a folder argument (scripts/demo/walk-wizard.sh), it
// also waits for a screenshot of the dialog as it first opens.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "ControlIds.h"
#include "WizardDriver.h"
#include "engine/CompanyList.h"
#include "platform/win32/FileSystemWin32.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/InstallerFileServices.h"
#include "support/MemoryFileSystem.h"
#include "support/MemoryRegistry.h"
#include "support/ScriptedInteraction.h"
#include "ui/CompanySelectionDialog.h"
#include "ui/Dpi.h"

namespace qv::wizard {
namespace {

enum class Act { ClickOk, ClickAnnuler, EnterInList, EscapeInList };

struct Case {
    const char* what;
    int pick;  // the entry chosen before acting
    Act act;
    bool confirmed;
    const char* remembered;  // "LastCompany" afterwards
};

// What the driver saw while the dialog was up.
struct Seen {
    bool visible = false;
    bool ownerDisabled = false;
    std::string caption, label, ok, annuler;
    int count = -1, selected = -1;
    bool infoVisible = true;
    RECT client{}, list{}, okRect{}, annulerRect{};
};

RECT ClientRectOf(HWND parent, HWND child)
{
    RECT r;
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

class CompanyDialogTest : public testing::Test {
protected:
    test::MemoryFileSystem files;
    test::MemoryRegistry registry;
    test::ScriptedInteraction user;

    std::string LastCompany()
    {
        const auto* v = registry.Find(RegistryHive::CurrentUser, kCompanyChoiceKey, kLastCompanyValue);
        return v ? v->text : "(none)";
    }
};

// Takes away, whatever happens, what the test below puts into the prefix.
struct PrefixCleanUp {
    std::string file, folder;
    ~PrefixCleanUp()
    {
        ::DeleteFileA(file.c_str());
        ::RemoveDirectoryA(folder.c_str());
        ::RegDeleteKeyValueA(HKEY_CURRENT_USER, kCompanyChoiceKey, kLastCompanyValue);
        HKEY key = nullptr;
        if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kMultiCompanyMachineKey, 0,
                            KEY_ALL_ACCESS | KEY_WOW64_32KEY, &key) == ERROR_SUCCESS) {
            ::RegDeleteTreeA(key, nullptr);
            ::RegCloseKey(key);
            ::RegDeleteKeyExA(HKEY_LOCAL_MACHINE, kMultiCompanyMachineKey, KEY_WOW64_32KEY, 0);
        }
    }
};

TEST(CompanyListOnWindows, TheFourthPlaceIsFoundAndTheMachineKeyRemoved)
{
    for (const char* place : {"C:\\quorvex", "C:\\wquorvex"})
        if (::GetFileAttributesA(place) != INVALID_FILE_ATTRIBUTES)
            GTEST_SKIP() << place << " belongs to this prefix already";
    PrefixCleanUp cleanUp{"C:\\wquorvex\\multiste.txt.txt", "C:\\wquorvex"};
    ASSERT_TRUE(::CreateDirectoryA(cleanUp.folder.c_str(), nullptr));
    win32::InstallerFileServices installer;
    win32::FileSystemWin32 files(installer);
    files.WriteNewFile(cleanUp.file, "Dupont SA\r\nMartin\n\r\n");

    // The machine's keys in the view of the products, which are 32-bit.
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE,
                                (std::string(kMultiCompanyMachineKey) + "\\Dupont SA").c_str(), 0,
                                nullptr, 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    ::RegCloseKey(key);
    ASSERT_EQ(::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kMultiCompanyMachineKey, 0,
                              KEY_SET_VALUE | KEY_WOW64_32KEY, &key),
              ERROR_SUCCESS);
    ASSERT_EQ(::RegSetValueExA(key, "Actif", 0, REG_SZ, reinterpret_cast<const BYTE*>("1"), 2),
              ERROR_SUCCESS);
    ::RegCloseKey(key);
    ASSERT_EQ(::RegSetKeyValueA(HKEY_CURRENT_USER, kCompanyChoiceKey, kLastCompanyValue, REG_SZ,
                                "MARTIN", 7),
              ERROR_SUCCESS);

    win32::Win32Registry registry;
    CompanyList companies(files, registry);
    companies.LoadCompanies();
    EXPECT_TRUE(EqualsIgnoreCaseAscii(companies.CompanyFile(), cleanUp.file)) << companies.CompanyFile();
    EXPECT_EQ(companies.Entries(), (std::vector<std::string>{"Dupont SA", "Martin", ""}));
    EXPECT_EQ(companies.SelectedIndex(), 1);
    EXPECT_NE(::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kMultiCompanyMachineKey, 0,
                              KEY_READ | KEY_WOW64_32KEY, &key),
              ERROR_SUCCESS);
}

TEST_F(CompanyDialogTest, EnterConfirmsEscapeCancelsOtherKeysAreLeftToTheList)
{
    files.Put("C:\\quorvex\\multiste.txt", "Dupont\r\nMartin\r\n");
    struct Case {
        unsigned key;
        ListKeyOutcome outcome;
        bool cancelled;
        std::string remembered;
    } cases[] = {
        {VK_RETURN, ListKeyOutcome::Confirmed, false, "Dupont"},
        {VK_ESCAPE, ListKeyOutcome::Cancelled, true, "(none)"},
        {'M', ListKeyOutcome::LeftToList, true, "(none)"},
        {VK_DOWN, ListKeyOutcome::LeftToList, true, "(none)"},
    };
    for (const auto& c : cases) {
        registry.DeleteRegistryKey(RegistryHive::CurrentUser, kCompanyChoiceKey);
        CompanyList companies(files, registry);
        companies.LoadCompanies();
        EXPECT_EQ(HandleCompanyListKey(companies, c.key), c.outcome) << c.key;
        EXPECT_EQ(companies.Cancelled(), c.cancelled) << c.key;
        EXPECT_EQ(LastCompany(), c.remembered) << c.key;
    }
}

TEST_F(CompanyDialogTest, TheHiddenInfoButtonNamesTheCompanyFile)
{
    files.Put("C:\\wquorvex\\multiste.txt.txt", "Dupont\r\n");
    CompanyList companies(files, registry);
    companies.LoadCompanies();
    CompanySelectionDialog dialog(companies, user);
    ::SendMessageA(dialog.Handle(), WM_COMMAND, MAKEWPARAM(kIdCompanyInfo, BN_CLICKED), 0);
    ASSERT_EQ(user.dialogs.size(), 1u);
    EXPECT_EQ(user.dialogs[0].text, "Liste des soci\xE9t\xE9s :\r\nC:\\wquorvex\\multiste.txt.txt");
    EXPECT_EQ(user.dialogs[0].type, DialogType::Information);
}

TEST_F(CompanyDialogTest, OkAnnulerEnterAndEscape)
{
    files.Put("C:\\quorvex\\multiste.txt", "Dupont SA\r\n\r\nMartin & Fils\r\n");
    test::MemoryRegistryValue last;
    last.text = "MARTIN & FILS";
    registry.Seed(RegistryHive::CurrentUser, kCompanyChoiceKey, kLastCompanyValue, last);
    CompanyList companies(files, registry);
    companies.LoadCompanies();

    HWND owner = ::CreateWindowExA(0, "STATIC", "owner", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                                   nullptr, nullptr, nullptr, nullptr);
    CompanySelectionDialog dialog(companies, user);
    HWND dlg = dialog.Handle();
    HWND list = ::GetDlgItem(dlg, kIdCompanyList);
    HWND strip = ::GetDlgItem(dlg, kIdCompanyButtons);
    HWND okButton = ::GetDlgItem(strip, kIdCompanyOk);
    HWND annulerButton = ::GetDlgItem(strip, kIdCompanyCancel);
    ASSERT_TRUE(list && okButton && annulerButton);
    EXPECT_FALSE(::IsWindowVisible(dlg)) << "made hidden";
    EXPECT_TRUE(companies.Cancelled());

    const char* signals = __argc > 1 ? __argv[1] : nullptr;
    const Case cases[] = {
        {"OK on the preselected entry", -1, Act::ClickOk, true, "Martin & Fils"},
        {"Annuler", 0, Act::ClickAnnuler, false, "Martin & Fils"},
        {"Enter in the list", 0, Act::EnterInList, true, "Dupont SA"},
        {"Escape in the list", 2, Act::EscapeInList, false, "Dupont SA"},
        {"OK on the Default company", 1, Act::ClickOk, true, ""},
    };
    bool first = true;
    int shown = 2;  // at first the last company chosen
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Seen seen;
        std::thread driver([&] {
            seen.visible = test::WaitUntil([&] { return ::IsWindowVisible(dlg) != FALSE; });
            if (!seen.visible)
                return;
            seen.ownerDisabled = !::IsWindowEnabled(owner);
            seen.caption = test::WizardDriver::Text(dlg);
            seen.label = test::WizardDriver::Text(::GetDlgItem(dlg, kIdCompanyLabel));
            seen.ok = test::WizardDriver::Text(okButton);
            seen.annuler = test::WizardDriver::Text(annulerButton);
            seen.count = static_cast<int>(::SendMessageA(list, CB_GETCOUNT, 0, 0));
            seen.selected = static_cast<int>(::SendMessageA(list, CB_GETCURSEL, 0, 0));
            seen.infoVisible = ::IsWindowVisible(::GetDlgItem(strip, kIdCompanyInfo)) != FALSE;
            ::GetClientRect(dlg, &seen.client);
            seen.list = ClientRectOf(dlg, list);
            seen.okRect = ClientRectOf(dlg, okButton);
            seen.annulerRect = ClientRectOf(dlg, annulerButton);
            if (first && signals)
                test::WaitForScreenshot(signals, "company-dialog");
            if (c.pick >= 0)
                ::SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(c.pick), 0);
            switch (c.act) {
            case Act::ClickOk: ::PostMessageA(okButton, BM_CLICK, 0, 0); break;
            case Act::ClickAnnuler: ::PostMessageA(annulerButton, BM_CLICK, 0, 0); break;
            case Act::EnterInList: ::PostMessageA(list, WM_KEYDOWN, VK_RETURN, 0); break;
            case Act::EscapeInList: ::PostMessageA(list, WM_KEYDOWN, VK_ESCAPE, 0); break;
            }
            // A dialog that did not close would hang the test: close it.
            if (!test::WaitUntil([&] { return !::IsWindowVisible(dlg); }, 5000))
                ::PostMessageA(dlg, WM_CLOSE, 0, 0);
        });
        bool confirmed = dialog.ShowModal(owner);
        driver.join();

        ASSERT_TRUE(seen.visible);
        EXPECT_EQ(confirmed, c.confirmed);
        EXPECT_EQ(companies.Cancelled(), !c.confirmed);
        EXPECT_EQ(LastCompany(), c.remembered);
        EXPECT_FALSE(::IsWindowVisible(dlg));
        EXPECT_TRUE(::IsWindowEnabled(owner)) << "the owner is given back";
        EXPECT_TRUE(seen.ownerDisabled);
        // Shown again, the list shows what was picked last.
        EXPECT_EQ(seen.selected, shown);
        if (c.pick >= 0)
            shown = c.pick;
        if (first) {
            EXPECT_EQ(seen.caption, "S\xE9lection de la soci\xE9t\xE9");
            EXPECT_EQ(seen.label, "Soci\xE9t\xE9 : ");
            EXPECT_EQ(seen.ok, "OK");
            EXPECT_EQ(seen.annuler, "Annuler");
            EXPECT_EQ(seen.count, 3);
            EXPECT_FALSE(seen.infoVisible);
            // The 120-dpi design: 414 by 152, a list 300 wide, OK then
            // Annuler at the bottom right, the list above them.
            EXPECT_EQ(seen.client.right, Scale(414));
            EXPECT_EQ(seen.client.bottom, Scale(152));
            EXPECT_EQ(seen.list.right - seen.list.left, Scale(300));
            EXPECT_LT(seen.okRect.right, seen.annulerRect.left);
            EXPECT_GT(seen.annulerRect.right, seen.client.right - Scale(20));
            EXPECT_GT(seen.okRect.bottom, seen.client.bottom - Scale(20));
            EXPECT_LT(seen.list.bottom, seen.okRect.top);
        }
        first = false;
    }
    ::DestroyWindow(owner);
}

}  // namespace
}  // namespace qv::wizard
