// The wizard's controller and update run, in this process, with a package
// given by the test and scripted dialogs: the real windows, pressed through
// their buttons.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <memory>
#include <regex>

#include "BoundedWait.h"
#include "ControlIds.h"
#include "app/ApplicationWindow.h"
#include "core/Errors.h"
#include "main/WizardWindow.h"
#include "pages/ChangesPage.h"
#include "pages/ReportPage.h"
#include "pages/WelcomePage.h"
#include "support/ScriptedInteraction.h"
#include "platform/win32/WindowsHelpers.h"
#include "ui/RichText.h"

namespace qv::wizard {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

// A package held in memory.
class FakePackage : public WizardEngine {
public:
    std::map<std::string, std::vector<std::string>> files;
    std::string updateInfo;  // empty: no UpdateInfo.txt

    int ReadEmbeddedLines(const std::string& name, std::vector<std::string>& lines) override
    {
        auto it = files.find(name);
        lines = it == files.end() ? std::vector<std::string>{} : it->second;
        return static_cast<int>(lines.size());
    }
    int LoadEmbeddedRichText(const std::string&, RichTextViewer& viewer) override
    {
        viewer.Clear();
        if (!updateInfo.empty())
            viewer.StreamRtf(updateInfo);
        return viewer.LineCount();
    }
    void SetReportTarget(ReportSink* target) override { report_ = target; }
    void AddReportLine(const std::string& text, int size, const std::string& font) override
    {
        if (report_)
            report_->AddLine(text, size, font);
    }
    void Randomize() override {}

private:
    ReportSink* report_ = nullptr;
};

// A product-specific page, as a package may add.
class ExtraPage : public WizardPage {
public:
    explicit ExtraPage(HWND parking) : WizardPage("frmExtra", "QvExtraPage", parking) {}
    void LeaveStep() override { ++leaves; }
    int leaves = 0;
};

struct ControlSearch {
    int id;
    HWND found;
};

// Called by Windows: WINAPI, as every callback handed to it.
BOOL CALLBACK FindControlById(HWND h, LPARAM lp)
{
    auto* s = reinterpret_cast<ControlSearch*>(lp);
    if (::GetDlgCtrlID(h) != s->id)
        return TRUE;
    s->found = h;
    return FALSE;
}

class Wizard : public ::testing::Test {
protected:
    void TearDown() override
    {
        if (main && main->Handle())
            ::DestroyWindow(main->Handle());
        Pump([] { return true; });  // what the destruction posted, once
    }

    void Start()
    {
        main = std::make_unique<WizardWindow>(ui, package);
        welcome = std::make_unique<WelcomePage>(app.Handle());
        endInstall = std::make_unique<ReportPage>(app.Handle());
        displayFile = std::make_unique<ChangesPage>(app.Handle(), endInstall->PrinterSetup());
        extra = std::make_unique<ExtraPage>(app.Handle());
        main->SetPages(*welcome, *displayFile, *endInstall);
        main->AddExtraPage(*extra);
        main->Show(SW_SHOWNORMAL);
        ASSERT_TRUE(Pump([&] { return Page() == kWelcomePageClass; }));
    }

    // Processes messages, with the idle update whenever the queue is empty,
    // until done() or the time-out.
    bool Pump(const std::function<bool()>& done, DWORD timeoutMs = 5000)
    {
        return test::WaitUntil(
            [&] {
                if (main && main->Handle())
                    main->OnIdle();
                return done();
            },
            timeoutMs);
    }

    HWND Control(int id) const
    {
        ControlSearch s{id, nullptr};
        ::EnumChildWindows(main->Handle(), FindControlById, reinterpret_cast<LPARAM>(&s));
        return s.found;
    }
    std::string Text(int id) const
    {
        char buffer[8192] = {};
        ::GetWindowTextA(Control(id), buffer, sizeof buffer);
        return buffer;
    }
    bool Enabled(int id) const { return ::IsWindowEnabled(Control(id)) != FALSE; }

    std::string Page() const
    {
        HWND panel = Control(kIdPagePanel);
        for (HWND c = ::GetWindow(panel, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
            if (::IsWindowVisible(c)) {
                char cls[64] = {};
                ::GetClassNameA(c, cls, sizeof cls);
                return cls;
            }
        return "";
    }

    // Presses Next (once it is enabled) and returns the page then shown.
    std::string Next()
    {
        Pump([&] { return Enabled(kIdButtonNext); });
        std::string before = Page();
        ::SendMessageA(Control(kIdButtonNext), BM_CLICK, 0, 0);
        Pump([&] { return Page() != before; }, 300);
        return Page();
    }

    // The report as paragraphs.
    std::vector<std::string> ReportParagraphs() const
    {
        std::string text = Text(kIdRichEditReport);
        std::vector<std::string> out;
        std::string line;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\r') {
                out.push_back(line);
                line.clear();
                if (i + 1 < text.size() && text[i + 1] == '\n')
                    ++i;
            } else {
                line += text[i];
            }
        }
        if (!line.empty())
            out.push_back(line);
        return out;
    }

    test::ScriptedInteraction ui;
    FakePackage package;
    ApplicationWindow app;
    std::unique_ptr<WizardWindow> main;
    std::unique_ptr<WelcomePage> welcome;
    std::unique_ptr<ReportPage> endInstall;
    std::unique_ptr<ChangesPage> displayFile;
    std::unique_ptr<ExtraPage> extra;
};

TEST_F(Wizard, StepsTxtPlacesPagesAfterTheListOfChanges)
{
    struct Case {
        std::vector<std::string> steps;
        std::vector<std::string> walk;  // the pages reached with Next from the list of changes
    };
    const Case cases[] = {
        {{}, {kReportPageClass}},
        {{"frmExtra"}, {"QvExtraPage", kReportPageClass}},
        // The report page named first takes that place: the page after it
        // can never be reached.
        {{"FRMENDINSTALL", "frmExtra"}, {kReportPageClass}},
        // Pages already in the list, and unknown names, change nothing.
        {{"frmWelcome", "frmNowhere", "frmExtra", "frmextra"}, {"QvExtraPage", kReportPageClass}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.steps.empty() ? "no Steps.txt" : c.steps.front());
        package.files["Steps.txt"] = c.steps;
        Start();
        ASSERT_EQ(Next(), kChangesPageClass);
        std::vector<std::string> walk;
        while (walk.size() < 4) {
            walk.push_back(Next());
            if (walk.back() == kReportPageClass)
                break;
        }
        EXPECT_EQ(walk, c.walk);
        EXPECT_EQ(extra->leaves, walk.size() > 1 ? 1 : 0) << "LeaveStep on Next only";
        TearDown();
        package.files.clear();
    }
}

TEST_F(Wizard, TitleAndExtraTextComeFromTheManifests)
{
    package.files["AppInfo1.txt"] = {"Quorvex Finance", "ignored second line"};
    package.files["AppInfo2.txt"] = {"Première ligne", "Seconde ligne"};
    package.updateInfo = "{\\rtf1\\ansi Nouvelle fonction\\par Correction\\par}";
    Start();
    EXPECT_EQ(Text(kIdTitleLabel), "Quorvex Finance");
    EXPECT_EQ(Text(kIdWelcomeLabel),
              "Cet assistant va mettre à jour Quorvex Finance.\r\n\r\n"
              "Aucune donnée existante ne sera supprimée.\r\n\r\n"
              "Veuillez fermer les applications Quorvex sur tous les postes de travail avant "
              "d'installer cette mise à jour.\r\n\r\n"
              "Première ligne\r\nSeconde ligne\r\n");
    ASSERT_EQ(Next(), kChangesPageClass);
    EXPECT_THAT(Text(kIdRichEditFile), HasSubstr("Nouvelle fonction"));
    EXPECT_THAT(Text(kIdRichEditFile), ::testing::Not(HasSubstr("corrections internes")));
}

TEST_F(Wizard, TheListOfChangesWrapsItsLinesAtTheViewersWidth)
{
    std::string longLine;
    for (int i = 0; i < 40; ++i)
        longLine += "correction " + std::to_string(i) + " ";
    package.updateInfo = "{\\rtf1\\ansi " + longLine + "\\par}";
    Start();
    ASSERT_EQ(Next(), kChangesPageClass);
    HWND viewer = Control(kIdRichEditFile);
    RECT client;
    ::GetClientRect(viewer, &client);
    // One paragraph, laid out over several lines, none reaching past the edge.
    EXPECT_GT(::SendMessageA(viewer, EM_GETLINECOUNT, 0, 0), 3);
    const LRESULT last = ::GetWindowTextLengthA(viewer) - 1;
    POINTL end{};
    ::SendMessageA(viewer, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&end), last);
    EXPECT_LT(end.x, client.right);
}

// Updates.txt is filtered loosely; the run takes the first name whose kind
// is known and writes a header before the procedure and a result after it.
TEST_F(Wizard, RunsTheFirstKnownProductBetweenHeaderAndResult)
{
    package.files["AppInfo1.txt"] = {"Quorvex Finance"};
    package.files["Updates.txt"] = {"Finance", "Quorvex Finance", "QUORVEX FINANCE", "",
                                    "Dravik", "Nothing of ours"};
    std::vector<ProductKind> ran;
    using enum ProductKind;
    bool buttonsDisabled = false;
    main.reset();
    Start();
    main->SetUpdateProcedure(ProductKind::QuorvexFinance, [&] {
        ran.push_back(QuorvexFinance);
        buttonsDisabled = !Enabled(kIdButtonPrev) && !Enabled(kIdButtonNext) &&
                          !Enabled(kIdButtonCancel);
        package.AddReportLine("Copie de X", 0, "");
        return UpdateStatus::Ok;
    });
    main->SetUpdateProcedure(Dravik, [&] { ran.push_back(Dravik); return UpdateStatus::Ok; });
    ASSERT_EQ(Next(), kChangesPageClass);
    ASSERT_EQ(Next(), kReportPageClass);
    ASSERT_TRUE(Pump([&] { return Enabled(kIdButtonNext); }));

    EXPECT_THAT(ran, ElementsAre(QuorvexFinance));
    EXPECT_TRUE(buttonsDisabled);
    auto report = ReportParagraphs();
    ASSERT_GE(report.size(), 5u);
    EXPECT_TRUE(std::regex_match(
        report[0], std::regex("Mise à jour : Quorvex Finance  \\d\\d\\.\\d\\d\\.\\d{4} "
                              "\\d\\d.\\d\\d.\\d\\d")))
        << report[0];
    EXPECT_EQ(report[1], "");
    EXPECT_EQ(report[2], "Copie de X");
    EXPECT_EQ(report[3], "");
    EXPECT_EQ(report[4], "La mise à jour est terminée avec succès.");
    EXPECT_EQ(Text(kIdButtonNext), "Quitter");
    EXPECT_FALSE(Enabled(kIdButtonPrev));
    EXPECT_FALSE(Enabled(kIdButtonCancel));
    EXPECT_EQ(::GetFocus(), Control(kIdRichEditReport));
}

TEST_F(Wizard, WritesTheResultLineOfTheStatus)
{
    const std::pair<UpdateStatus, const char*> cases[] = {
        {UpdateStatus::Ok, "La mise à jour est terminée avec succès."},
        {UpdateStatus::Ko, "La mise à jour a échouée !"},
        {UpdateStatus::Not, "La mise à jour n'a pas été effectuée."},
        {UpdateStatus::Warning, "La mise à jour a été effectuée mais avec des avertissements !"},
        {UpdateStatus::Unknown, nullptr},
    };
    for (auto [status, line] : cases) {
        SCOPED_TRACE(static_cast<int>(status));
        package.files["Updates.txt"] = {"Sovenza"};
        Start();
        main->SetUpdateProcedure(ProductKind::Sovenza, [status = status] { return status; });
        Next();
        ASSERT_EQ(Next(), kReportPageClass);
        ASSERT_TRUE(Pump([&] { return Text(kIdButtonNext) == "Quitter" && Enabled(kIdButtonNext); }));
        auto report = ReportParagraphs();
        if (line) {
            ASSERT_EQ(report.size(), 4u);
            EXPECT_EQ(report[2], "");
            EXPECT_EQ(report[3], line);
        } else {
            EXPECT_EQ(report.size(), 2u) << "the header only";
        }
        TearDown();
    }
}

TEST_F(Wizard, NoKnownProductLeavesTheReportEmpty)
{
    package.files["Updates.txt"] = {"Finance", "Telvarin Ing"};
    Start();
    Next();
    ASSERT_EQ(Next(), kReportPageClass);
    ASSERT_TRUE(Pump([&] { return Text(kIdButtonNext) == "Quitter" && Enabled(kIdButtonNext); }));
    EXPECT_EQ(Text(kIdRichEditReport), "");
    EXPECT_FALSE(Enabled(kIdButtonPrev));
    EXPECT_FALSE(Enabled(kIdButtonCancel));
}

TEST_F(Wizard, AProcedureErrorIsShownAndReported)
{
    package.files["Updates.txt"] = {"Quorvex Finance"};
    Start();
    main->SetUpdateProcedure(ProductKind::QuorvexFinance,
                             []() -> UpdateStatus { throw Error("Cannot find QFIN.EXE"); });
    Next();
    ASSERT_EQ(Next(), kReportPageClass);
    ASSERT_TRUE(Pump([&] { return Text(kIdButtonNext) == "Quitter" && Enabled(kIdButtonNext); }));
    ASSERT_EQ(ui.dialogs.size(), 1u);
    EXPECT_EQ(ui.dialogs[0].text, "Cannot find QFIN.EXE");
    EXPECT_EQ(ui.dialogs[0].type, DialogType::Error);
    auto report = ReportParagraphs();
    ASSERT_EQ(report.size(), 5u);
    EXPECT_EQ(report[2], "Cannot find QFIN.EXE");
    EXPECT_EQ(report[4], "La mise à jour a échouée !");
    EXPECT_FALSE(Enabled(kIdButtonPrev));
    EXPECT_FALSE(Enabled(kIdButtonCancel));
}

// Closing the window while a procedure works must not cut it off: the close
// is refused until the run has ended.
TEST_F(Wizard, TheWindowStaysWhileAProcedureWorks)
{
    package.files["Updates.txt"] = {"Quorvex Finance"};
    Start();
    bool aliveAfterClose = false;
    main->SetUpdateProcedure(ProductKind::QuorvexFinance, [&] {
        ::PostMessageA(main->Handle(), WM_CLOSE, 0, 0);
        ::PostMessageA(main->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
        win32::Delay(50);
        aliveAfterClose = ::IsWindow(main->Handle()) != FALSE;
        return UpdateStatus::Ok;
    });
    Next();
    ASSERT_EQ(Next(), kReportPageClass);
    ASSERT_TRUE(Pump([&] { return Text(kIdButtonNext) == "Quitter" && Enabled(kIdButtonNext); }));
    EXPECT_TRUE(aliveAfterClose);
    EXPECT_EQ(ReportParagraphs().back(), "La mise à jour est terminée avec succès.");
    // Afterwards the close works again.
    ::SendMessageA(main->Handle(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(main->Handle());
}

TEST_F(Wizard, CancelAsksAndOnlyYesCloses)
{
    Start();
    ui.answers = {DialogResult::No, DialogResult::Cancel, DialogResult::Yes};
    for (size_t i = 0; i < 3; ++i) {
        ::SendMessageA(Control(kIdButtonCancel), BM_CLICK, 0, 0);
        ASSERT_TRUE(Pump([&] { return ui.dialogs.size() == i + 1; }))
            << "question " << i + 1 << " after Annuler";
    }
    ASSERT_TRUE(Pump([&] { return !main->Handle(); })) << "the window closing after Yes";
    EXPECT_EQ(ui.dialogs[0].text, "Voulez-vous annuler cette mise à jour");
    EXPECT_EQ(ui.dialogs[0].type, DialogType::Warning);
    EXPECT_EQ(ui.dialogs[0].buttons, DialogButtons::YesNoCancel);
    EXPECT_FALSE(main->Handle()) << "closed by the third answer, Yes";
}

}  // namespace
}  // namespace qv::wizard
