// Real message boxes answered by a driver thread that finds each box by its
// class and caption, reads its buttons and presses one, as a person would.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <future>
#include <string>
#include <vector>

#include "BoundedWait.h"
#include "ui/DialogInteraction.h"

namespace qv::wizard {
namespace {

enum class Action { ClickOk, ClickYes, ClickNo, ClickCancel, Escape, Enter, CloseBox, EscapeThenNo };

struct Seen {
    bool found = false;                // a box with the caption appeared
    std::vector<std::string> buttons;  // texts of the buttons present
    std::string text;
    bool yesIsDefault = false;
    bool okIsDefault = false;
    bool centred = false;
};

HWND FindBox(const char* caption)
{
    HWND box = nullptr;
    test::WaitUntil([&] {
        box = FindWindowA("#32770", caption);
        return box && IsWindowVisible(box);
    });
    return box && IsWindowVisible(box) ? box : nullptr;
}

// When the expected box never shows, whatever dialog the test thread opened
// instead is closed, so the test fails instead of waiting on it for good.
BOOL CALLBACK CloseIfDialog(HWND w, LPARAM)
{
    char cls[16] = {};
    GetClassNameA(w, cls, sizeof cls);
    if (lstrcmpA(cls, "#32770") == 0)
        for (int id : {IDCANCEL, IDNO, IDOK})
            PostMessageA(w, WM_COMMAND, id, 0);
    return TRUE;
}

void CloseDialogsOf(DWORD thread)
{
    EnumThreadWindows(thread, CloseIfDialog, 0);
}

std::string TextOf(HWND w)
{
    char text[512] = {};
    GetWindowTextA(w, text, sizeof text);
    return text;
}

bool IsDefault(HWND button)
{
    return button && (GetWindowLongA(button, GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON;
}

void Key(HWND box, UINT vk)
{
    HWND focus = GetDlgItem(box, IDYES) ? GetDlgItem(box, IDYES) : GetDlgItem(box, IDOK);
    PostMessageA(focus, WM_KEYDOWN, vk, 0);
    PostMessageA(focus, WM_KEYUP, vk, 0);
}

Seen Drive(const char* caption, Action action, DWORD testThread)
{
    Seen seen;
    HWND box = FindBox(caption);
    if (!box) {
        // Whatever shows late or under another caption is closed as well.
        test::WaitUntil([&] { CloseDialogsOf(testThread); return false; }, 2000);
        return seen;
    }
    seen.found = true;
    // Shown, then settled: its default button is marked.
    test::WaitUntil([&] { return IsDefault(GetDlgItem(box, IDOK)) || IsDefault(GetDlgItem(box, IDYES)); },
                    2000);
    for (int id : {IDYES, IDNO, IDOK, IDCANCEL})
        if (HWND b = GetDlgItem(box, id))
            seen.buttons.push_back(TextOf(b));
    seen.text = TextOf(GetDlgItem(box, 0xFFFF));
    seen.yesIsDefault = IsDefault(GetDlgItem(box, IDYES));
    seen.okIsDefault = IsDefault(GetDlgItem(box, IDOK));
    RECT r;
    GetWindowRect(box, &r);
    RECT area;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    seen.centred = std::abs((r.left + r.right) - (area.left + area.right)) <= 2 &&
                   std::abs((r.top + r.bottom) - (area.top + area.bottom)) <= 2;
    auto click = [&](int id) { SendMessageA(GetDlgItem(box, id), BM_CLICK, 0, 0); };
    switch (action) {
    case Action::ClickOk: click(IDOK); break;
    case Action::ClickYes: click(IDYES); break;
    case Action::ClickNo: click(IDNO); break;
    case Action::ClickCancel: click(IDCANCEL); break;
    case Action::Escape: Key(box, VK_ESCAPE); break;
    case Action::Enter: Key(box, VK_RETURN); break;
    case Action::CloseBox: PostMessageA(box, WM_SYSCOMMAND, SC_CLOSE, 0); break;
    case Action::EscapeThenNo:
        // Escape and the close box may leave a Yes/No box open (Windows)
        // or close it (Wine); either way the answer must not be Yes.
        Key(box, VK_ESCAPE);
        PostMessageA(box, WM_SYSCOMMAND, SC_CLOSE, 0);
        if (!test::WaitUntil([&] { return !IsWindow(box); }, 1000))
            PostMessageA(box, WM_COMMAND, IDNO, 0);
        break;
    }
    return seen;
}

TEST(MessageBoxes, FrenchButtonsDefaultsAndAnswers)
{
    const std::vector<std::string> ok = {"OK"};
    const std::vector<std::string> yesNo = {"&Oui", "&Non"};
    const std::vector<std::string> yesNoCancel = {"&Oui", "&Non", "Annuler"};
    struct Case {
        DialogType type;
        DialogButtons buttons;
        Action action;
        const char* caption;
        std::vector<std::string> expectedButtons;
        DialogResult expected;
        const char* given = "";  // the caption asked for; "" for the type's
    } cases[] = {
        {DialogType::Error, DialogButtons::Ok, Action::ClickOk, "Erreur", ok, DialogResult::Ok},
        {DialogType::Information, DialogButtons::Ok, Action::Enter, "Information", ok, DialogResult::Ok},
        {DialogType::Warning, DialogButtons::Ok, Action::Escape, "Avertissement", ok, DialogResult::Ok},
        {DialogType::Confirmation, DialogButtons::YesNo, Action::ClickYes, "Confirmation", yesNo, DialogResult::Yes},
        {DialogType::Confirmation, DialogButtons::YesNo, Action::Enter, "Confirmation", yesNo, DialogResult::Yes},
        {DialogType::Confirmation, DialogButtons::YesNo, Action::EscapeThenNo, "Confirmation", yesNo, DialogResult::No},
        {DialogType::Warning, DialogButtons::YesNoCancel, Action::ClickNo, "Avertissement", yesNoCancel, DialogResult::No},
        {DialogType::Warning, DialogButtons::YesNoCancel, Action::ClickCancel, "Avertissement", yesNoCancel, DialogResult::Cancel},
        {DialogType::Warning, DialogButtons::YesNoCancel, Action::Escape, "Avertissement", yesNoCancel, DialogResult::Cancel},
        {DialogType::Warning, DialogButtons::YesNoCancel, Action::CloseBox, "Avertissement", yesNoCancel, DialogResult::Cancel},
        {DialogType::Error, DialogButtons::Ok, Action::ClickOk, "PRT_Images_0000", ok, DialogResult::Ok, "PRT_Images_0000"},
    };
    DialogInteraction ui;
    const std::string text = "Première ligne\r\nSeconde ligne";
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.caption) + " action " + std::to_string(static_cast<int>(c.action)));
        auto driver = std::async(std::launch::async, Drive, c.caption, c.action, GetCurrentThreadId());
        DialogResult result = ui.ShowMessageDialog(text, c.type, c.buttons, c.given);
        Seen seen = driver.get();
        ASSERT_TRUE(seen.found) << "no message box captioned " << c.caption << " within 10 s";
        EXPECT_EQ(result, c.expected);
        EXPECT_EQ(seen.buttons, c.expectedButtons);
        EXPECT_EQ(seen.text, text);
        EXPECT_TRUE(seen.centred);
        EXPECT_TRUE(c.buttons == DialogButtons::Ok ? seen.okIsDefault : seen.yesIsDefault);
    }
}

std::vector<unsigned> g_sounds;
void RecordSound(unsigned soundType)
{
    g_sounds.push_back(soundType);
}

// Each helper's box sounds once, with the sound the helper names, and shows
// the icon of its type; the box itself adds no sound of its own.
TEST(MessageBoxes, EachBoxSoundsOnceWithItsHelpersSound)
{
    struct Case {
        const char* caption;
        std::function<void(DialogInteraction&)> show;
        Action answer;
        unsigned sound;
        LPCSTR icon;
    } cases[] = {
        {"Erreur", [](auto& ui) { ui.ShowErrorMessage("e"); }, Action::Enter, 0x30, IDI_ERROR},
        {"Avertissement", [](auto& ui) { ui.ShowWarningMessage("w"); }, Action::Enter, 0x30, IDI_WARNING},
        {"Information", [](auto& ui) { ui.ShowInfoMessage("i"); }, Action::Enter, 0x30, IDI_INFORMATION},
        {"Confirmation", [](auto& ui) { ui.AskYesNo("q"); }, Action::ClickNo, 0x20, IDI_QUESTION},
        {"Avertissement", [](auto& ui) { ui.AskYesNoCancel("q"); }, Action::ClickCancel, 0x30, IDI_WARNING},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caption);
        g_sounds.clear();
        DialogInteraction ui(nullptr, RecordSound);
        HICON shown = nullptr;
        const DWORD testThread = GetCurrentThreadId();
        auto driver = std::async(std::launch::async, [&] {
            if (HWND box = FindBox(c.caption))
                for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
                    if (HICON icon = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0)))
                        shown = icon;
            return Drive(c.caption, c.answer, testThread);
        });
        c.show(ui);
        driver.get();
        EXPECT_EQ(g_sounds, std::vector<unsigned>{c.sound});
        EXPECT_EQ(shown, LoadIconA(nullptr, c.icon));
    }
}

TEST(MessageBoxes, QuestionHelpersAreTrueOnlyForYes)
{
    DialogInteraction ui;
    auto driver = std::async(std::launch::async, Drive, "Avertissement", Action::ClickNo,
                             GetCurrentThreadId());
    EXPECT_FALSE(ui.AskYesNoCancel("Remplacer le fichier ?"));
    ASSERT_TRUE(driver.get().found) << "no warning box within 10 s";
    driver = std::async(std::launch::async, Drive, "Confirmation", Action::ClickYes,
                        GetCurrentThreadId());
    EXPECT_TRUE(ui.AskYesNo("Continuer ?"));
    ASSERT_TRUE(driver.get().found) << "no confirmation box within 10 s";
}

TEST(WaitCursor, NestedPairsKeepTheHourglassUntilTheOutermostEnd)
{
    DialogInteraction ui;
    ui.BeginWaitCursor();
    ui.BeginWaitCursor();
    EXPECT_TRUE(WaitCursorShown());
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_WAIT));
    ui.EndWaitCursor();
    EXPECT_TRUE(WaitCursorShown());
    ui.EndWaitCursor();
    EXPECT_FALSE(WaitCursorShown());
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_ARROW));
    ui.EndWaitCursor();  // one too many: harmless
    EXPECT_EQ(ui.WaitCursorDepth(), 0);
    EXPECT_FALSE(ApplyWaitCursor());
}

}  // namespace
}  // namespace qv::wizard
