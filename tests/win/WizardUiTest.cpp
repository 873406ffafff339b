// The wizard as a person uses it: the real program under Wine, driven
// through its windows.
#include <gtest/gtest.h>
#include <windows.h>

#include "ControlIds.h"
#include "ProgramVersion.h"
#include "WizardDriver.h"

namespace qv::test {
namespace {

using namespace qv::wizard;

constexpr char kProgram[] = "quorvex-update-empty.exe";  // no manifest at all
constexpr char kChangesNotice[] =
    "\r\nCette mise à jour comporte uniquement des corrections internes.";

class WizardUi : public ::testing::Test {
protected:
    void SetUp() override
    {
        wizard.Start(kProgram);
        ASSERT_TRUE(wizard.WaitForWelcome()) << "no welcome page";
    }

    // Waits until the idle update has set the button to the expected state.
    bool WaitButton(int id, bool enabled, const std::string& caption = "")
    {
        return WaitUntil([&] {
            return wizard.IsEnabled(id) == enabled &&
                   (caption.empty() || wizard.ControlText(id) == caption);
        });
    }

    WizardDriver wizard;
};

// A package without any manifest: welcome, list of changes, empty report.
TEST_F(WizardUi, WalksAnEmptyPackageToAnEmptyReportAndQuits)
{
    EXPECT_EQ(WizardDriver::Text(wizard.MainWindow()), "Mise à jour Quorvex");
    EXPECT_EQ(wizard.ControlText(kIdVersionLabel), std::string("Version : ") + QV_VERSION_TEXT);
    EXPECT_EQ(wizard.ControlText(kIdTitleLabel), "");
    // Without a title the welcome text names "?".
    EXPECT_EQ(wizard.ControlText(kIdWelcomeLabel),
              "Cet assistant va mettre à jour ?.\r\n\r\n"
              "Aucune donnée existante ne sera supprimée.\r\n\r\n"
              "Veuillez fermer les applications Quorvex sur tous les postes de travail avant "
              "d'installer cette mise à jour.\r\n\r\n");
    EXPECT_TRUE(WaitButton(kIdButtonNext, true, "Suivant >"));
    EXPECT_FALSE(wizard.IsEnabled(kIdButtonPrev));
    EXPECT_EQ(wizard.ControlText(kIdButtonPrev), "< Précédant");
    EXPECT_TRUE(wizard.IsEnabled(kIdButtonCancel));
    EXPECT_EQ(wizard.ControlText(kIdButtonCancel), "Annuler");

    ASSERT_TRUE(wizard.NextTo(kChangesPageClass));
    EXPECT_EQ(wizard.ControlText(kIdTitleStrip), "La liste des modifications");
    EXPECT_EQ(wizard.ControlText(kIdRichEditFile), kChangesNotice);
    EXPECT_TRUE(WaitButton(kIdButtonNext, true, "Démarrer"));
    EXPECT_TRUE(WaitButton(kIdButtonPrev, true));

    ASSERT_TRUE(wizard.NextTo(kReportPageClass));
    EXPECT_EQ(wizard.ControlText(kIdTitleStrip), "Rapport d'installation");
    EXPECT_TRUE(WaitButton(kIdButtonNext, true, "Quitter"));
    EXPECT_FALSE(wizard.IsEnabled(kIdButtonPrev));
    EXPECT_FALSE(wizard.IsEnabled(kIdButtonCancel));
    EXPECT_EQ(wizard.ControlText(kIdRichEditReport), "");

    wizard.Press(kIdButtonNext);
    EXPECT_EQ(wizard.WaitForExit(), 5u);  // no product known: nothing done
}

// Every page works from the keyboard alone: Enter presses the default
// button, Tab moves to the next control, Space presses the focused button,
// Escape cancels; on the report page too, where the run leaves the focus in
// the report.
TEST_F(WizardUi, WalksToQuitterWithTheKeyboardAlone)
{
    auto focusedId = [&] { return ::GetDlgCtrlID(wizard.Focus()); };
    ASSERT_TRUE(WaitButton(kIdButtonNext, true, "Suivant >"));
    wizard.Key(VK_RETURN);
    ASSERT_TRUE(wizard.WaitForPage(kChangesPageClass))
        << "focus on control " << focusedId() << ", page " << wizard.CurrentPage()
        << ", foreground " << (::GetForegroundWindow() == wizard.MainWindow());

    // Tab to "< Précédant" and press it with Space: back to the welcome page.
    ASSERT_TRUE(WaitButton(kIdButtonPrev, true));
    for (int tabs = 0; tabs < 8 && focusedId() != kIdButtonPrev; ++tabs) {
        wizard.Key(VK_TAB);
        WaitUntil([] { return false; }, 100);
    }
    ASSERT_EQ(focusedId(), kIdButtonPrev);
    wizard.Key(VK_SPACE);
    ASSERT_TRUE(wizard.WaitForPage(kWelcomePageClass));
    // Précédant, which had the focus, is disabled there: the focus moves on.
    ASSERT_TRUE(WaitButton(kIdButtonPrev, false));
    ASSERT_TRUE(WaitUntil([&] { return focusedId() == kIdButtonNext; }));

    wizard.Key(VK_RETURN);
    ASSERT_TRUE(wizard.WaitForPage(kChangesPageClass));
    // Escape asks whether to cancel; Escape on the question keeps the wizard.
    wizard.Key(VK_ESCAPE);
    HWND box = wizard.WaitForMessageBox();
    ASSERT_TRUE(box);
    ASSERT_TRUE(WaitUntil([&] { return ::GetParent(wizard.Focus()) == box; }));
    wizard.Key(VK_ESCAPE);
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(box); }));
    EXPECT_EQ(wizard.CurrentPage(), kChangesPageClass);

    // Enter starts the run; once it has ended, Enter presses "Quitter".
    wizard.Key(VK_RETURN);
    ASSERT_TRUE(wizard.WaitForPage(kReportPageClass));
    ASSERT_TRUE(WaitButton(kIdButtonNext, true, "Quitter"));
    WaitUntil([&] { return focusedId() == kIdRichEditReport; }, 2000);
    wizard.Key(VK_RETURN);
    EXPECT_EQ(wizard.WaitForExit(5000), 5u);  // no product known
}

// Back from the list of changes shows the welcome page as it was.
TEST_F(WizardUi, BackFromTheListOfChangesReturnsToTheWelcomePage)
{
    std::string welcome = wizard.ControlText(kIdWelcomeLabel);
    ASSERT_TRUE(wizard.NextTo(kChangesPageClass));
    ASSERT_TRUE(WaitButton(kIdButtonPrev, true));
    wizard.Press(kIdButtonPrev);
    ASSERT_TRUE(wizard.WaitForPage(kWelcomePageClass));
    EXPECT_EQ(wizard.ControlText(kIdWelcomeLabel), welcome);
    EXPECT_TRUE(WaitButton(kIdButtonPrev, false));
    // And forward again.
    ASSERT_TRUE(wizard.NextTo(kChangesPageClass));
}

TEST_F(WizardUi, CancelAnsweredNoKeepsTheWizardAndYesEndsIt)
{
    ASSERT_TRUE(wizard.NextTo(kChangesPageClass));
    wizard.Press(kIdButtonCancel);
    HWND box = wizard.WaitForMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(WizardDriver::MessageBoxText(box), "Voulez-vous annuler cette mise à jour");
    EXPECT_NE(::GetDlgItem(box, IDCANCEL), nullptr) << "Yes, No and Cancel";
    WizardDriver::Answer(box, IDNO);
    ASSERT_TRUE(WaitUntil([&] { return wizard.FindMessageBox() == nullptr; }));
    EXPECT_EQ(wizard.WaitForExit(500), static_cast<DWORD>(STILL_ACTIVE));
    EXPECT_EQ(wizard.CurrentPage(), kChangesPageClass);

    wizard.Press(kIdButtonCancel);
    box = wizard.WaitForMessageBox();
    ASSERT_NE(box, nullptr);
    WizardDriver::Answer(box, IDYES);
    EXPECT_EQ(wizard.WaitForExit(), 6u);  // cancelled before the run
}

TEST_F(WizardUi, ASecondInstanceEndsSilentlyWhileTheFirstRuns)
{
    WizardDriver second;
    second.Start(kProgram);
    EXPECT_EQ(second.WaitForExit(), 7u);  // another instance runs
    EXPECT_TRUE(second.TopLevelWindows(kMainWindowClass).empty());
    EXPECT_EQ(wizard.TopLevelWindows(kMainWindowClass).size(), 1u);

    // Once the first has ended, a new start works.
    ::PostMessageA(wizard.MainWindow(), WM_CLOSE, 0, 0);
    ASSERT_EQ(wizard.WaitForExit(), 6u);  // closed before the run
    WizardDriver third;
    third.Start(kProgram);
    EXPECT_TRUE(third.WaitForWelcome());
}

// The layout of the 120-dpi design, scaled to the screen.
TEST_F(WizardUi, LaysTheWindowOutAtTheScreensResolution)
{
    HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    auto scale = [&](int v) { return ::MulDiv(v, dpi, 120); };
    auto rectOf = [&](int id) {
        RECT r;
        ::GetWindowRect(wizard.Control(id), &r);
        ::MapWindowPoints(nullptr, wizard.MainWindow(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    };

    RECT client;
    ::GetClientRect(wizard.MainWindow(), &client);
    EXPECT_EQ(client.right, scale(712));
    EXPECT_EQ(client.bottom, scale(469));

    const int h = scale(25), margin = h * 10 / 25;
    RECT strip = rectOf(kIdButtonBar);
    EXPECT_EQ(strip.bottom, client.bottom);
    EXPECT_EQ(strip.bottom - strip.top, h + 2 * margin);
    RECT prev = rectOf(kIdButtonPrev), next = rectOf(kIdButtonNext), cancel = rectOf(kIdButtonCancel);
    EXPECT_EQ(cancel.right, client.right - margin);
    EXPECT_EQ(next.right, cancel.left - margin);
    EXPECT_EQ(prev.right, next.left - margin);
    EXPECT_EQ(cancel.top, strip.top + margin);
    EXPECT_EQ(cancel.right - cancel.left, scale(75));
    EXPECT_EQ(next.right - next.left, scale(90));
    EXPECT_EQ(next.bottom - next.top, h);

    RECT image = rectOf(kIdPicturePanel);
    EXPECT_EQ(image.right - image.left, scale(189));
    EXPECT_EQ(image.bottom, strip.top);
    RECT title = rectOf(kIdTitleLabel);
    EXPECT_EQ(title.left, image.right);
    EXPECT_EQ(title.right, client.right);
    EXPECT_EQ(title.bottom - title.top, scale(46));

    // The step picture, centred in its column.
    RECT picture = rectOf(kIdImageStep);
    EXPECT_EQ(picture.right - picture.left, 150);
    EXPECT_EQ(picture.bottom - picture.top, 245);
    EXPECT_LE(std::abs((picture.left - image.left) - (image.right - picture.right)), 1);

    // The page fills the step area under the title.
    RECT area = rectOf(kIdPagePanel);
    EXPECT_EQ(area.top, title.bottom);
    EXPECT_EQ(area.bottom, strip.top);
}

TEST_F(WizardUi, TheTitleBarCloseEndsTheProgram)
{
    ::PostMessageA(wizard.MainWindow(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(wizard.WaitForExit(), 6u);  // closed before the run
}

TEST(WizardUiStart, AWindowStartedMinimisedIsRestored)
{
    WizardDriver wizard;
    wizard.Start(kProgram, SW_SHOWMINIMIZED);
    ASSERT_TRUE(wizard.WaitForWelcome());
    EXPECT_FALSE(::IsIconic(wizard.MainWindow()));
}

}  // namespace
}  // namespace qv::test
