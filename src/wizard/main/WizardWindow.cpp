#include "main/WizardWindow.h"

#include <algorithm>

#include "ControlIds.h"
#include "core/Errors.h"
#include "core/Text.h"
#include "core/Manifests.h"
#include "core/RunTimings.h"
#include "core/ScopeExit.h"
#include "core/Texts.h"
#include "pages/ChangesPage.h"
#include "pages/ReportPage.h"
#include "pages/WelcomePage.h"
#include "platform/win32/Win32Error.h"
#include "platform/win32/WindowsHelpers.h"
#include "ui/Centring.h"
#include "ui/DialogInteraction.h"
#include "res/ResourceIds.h"
#include "ui/Dpi.h"
#include "ui/ErrorHandler.h"
#include "ui/ForceForegroundWindow.h"
#include "ui/LayoutButtonPanel.h"

namespace qv::wizard {

namespace {

// Sizes of the 120-dpi design.
constexpr int kClientWidth = 712;
constexpr int kClientHeight = 469;
constexpr int kImageColumnWidth = 189;
constexpr int kTitleHeight = 46;
constexpr int kButtonHeight = 25;
constexpr int kVersionLeft = 12;
constexpr int kVersionTop = 12;
// The one-shot timer that shows the welcome page once the loop runs.
constexpr UINT_PTR kStartTimerId = 1;
constexpr UINT kStartTimerDelayMs = 10;
constexpr DWORD kMainStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX |
                             WS_CLIPCHILDREN;
constexpr DWORD kMainExStyle = WS_EX_CONTROLPARENT | WS_EX_APPWINDOW;

HWND CreatePushButton(HWND parent, int id, int x, int width, DWORD extraStyle)
{
    HWND h = ::CreateWindowExA(0, "BUTTON", "",
                               WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | extraStyle, x,
                               0, width, Scale(kButtonHeight), parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               ::GetModuleHandleA(nullptr), nullptr);
    if (!h)
        win32::RaiseLastSystemError();
    return h;
}

// The colour of a bitmap's bottom-left pixel.
COLORREF BottomLeftPixel(HBITMAP bitmap)
{
    BITMAP bm{};
    ::GetObject(bitmap, sizeof bm, &bm);
    UniqueCreatedDc dc(::CreateCompatibleDC(nullptr));
    SelectedObject selected(dc.get(), bitmap);
    return ::GetPixel(dc.get(), 0, bm.bmHeight - 1);
}

}  // namespace

WizardWindow::WizardWindow(UserInteraction& ui, WizardEngine& engine) : ui_(ui), engine_(engine)
{
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    icon_.reset(static_cast<HICON>(::LoadImageA(instance, MAKEINTRESOURCEA(kIdiQuorvexUpdate),
                                                IMAGE_ICON, ::GetSystemMetrics(SM_CXICON),
                                                ::GetSystemMetrics(SM_CYICON), 0)));
    smallIcon_.reset(static_cast<HICON>(
        ::LoadImageA(instance, MAKEINTRESOURCEA(kIdiQuorvexUpdate), IMAGE_ICON,
                     ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON), 0)));

    RECT r{0, 0, Scale(kClientWidth), Scale(kClientHeight)};
    ::AdjustWindowRectEx(&r, kMainStyle, FALSE, kMainExStyle);
    int w = r.right - r.left, h = r.bottom - r.top;
    POINT at = CentredPosition(w, h);
    Create(kMainWindowClass, kMainExStyle, kMainStyle, texts::kWizardCaption, at.x, at.y, w, h, nullptr,
           0, ::GetSysColorBrush(COLOR_BTNFACE), icon_.get());
    ::SendMessageA(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.get()));
    ::SendMessageA(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
    Initialize();
}

WizardWindow::~WizardWindow() = default;

void WizardWindow::SetPages(WelcomePage& welcome, ChangesPage& displayFile,
                            ReportPage& endInstall)
{
    welcomePage_ = &welcome;
    changesPage_ = &displayFile;
    reportPage_ = &endInstall;
    allPages_ = {&welcome, &displayFile, &endInstall};
    balloonHints_->Add(displayFile.SpeedButtonPrint(), texts::kPrintHint);
    balloonHints_->Add(endInstall.SpeedButtonPrint(), texts::kPrintHint);
}

void WizardWindow::AddExtraPage(WizardPage& page)
{
    allPages_.push_back(&page);
}

void WizardWindow::SetUpdateProcedure(ProductKind kind, UpdateProcedure procedure)
{
    procedures_[kind] = std::move(procedure);
}

// ---- creation and layout ---------------------------------------------------

void WizardWindow::Initialize()
{
    CreateControls();
    actionBack_.SetCaption(texts::kActionBack);
    actionCancel_.SetCaption(texts::kActionCancel);
    actionBack_.Bind(buttonPrev_);
    actionNext_.Bind(buttonNext_);
    actionCancel_.Bind(buttonCancel_);
    actionBack_.onExecute = [this] { ActionBackExecute(); };
    actionNext_.onExecute = [this] { ActionNextExecute(); };
    actionCancel_.onExecute = [this] { ActionCancelExecute(); };
    // Starting: nothing to go back or forth to yet.
    actionBack_.SetEnabled(false);
    actionNext_.SetEnabled(false);

    LayoutButtonPanel(*buttonBar_);
    LayoutControls();
    ::SetTimer(Handle(), kStartTimerId, kStartTimerDelayMs, nullptr);
}

void WizardWindow::CreateControls()
{
    font_ = MakeFont("MS Sans Serif", 13);
    stepFont_ = MakeFont("MS Sans Serif", 17);
    titleFont_ = MakeFont("Arial", 17, FontWeight::Bold);
    auto setFont = [](HWND h, HFONT f) { ::SendMessageA(h, WM_SETFONT, reinterpret_cast<WPARAM>(f), FALSE); };
    RECT client;
    ::GetClientRect(Handle(), &client);

    // The button strip along the bottom.
    buttonBar_ = std::make_unique<Panel>(Handle(), kIdButtonBar);
    ::MoveWindow(buttonBar_->Handle(), 0, 0, client.right, Scale(45), FALSE);
    buttonBarBevel_ = ::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_ETCHEDHORZ, 0,
                                        0, client.right, 2, buttonBar_->Handle(),
                                        reinterpret_cast<HMENU>(kIdButtonBarBevel),
                                        ::GetModuleHandleA(nullptr), nullptr);
    LabelStyle versionStyle;
    versionStyle.wordWrap = false;
    versionStyle.raised = true;
    versionLabel_ = std::make_unique<Label>(buttonBar_->Handle(), kIdVersionLabel, versionStyle);
    versionLabel_->SetFont(font_.get());
    versionLabel_->SetText(texts::kVersionLabel);
    ::MoveWindow(versionLabel_->Handle(), Scale(kVersionLeft), Scale(kVersionTop), Scale(260),
                 Scale(18), FALSE);
    // Placed left to right; LayoutButtonPanel packs them against the right edge.
    buttonPrev_ = CreatePushButton(buttonBar_->Handle(), kIdButtonPrev, Scale(300), Scale(90), 0);
    buttonNext_ = CreatePushButton(buttonBar_->Handle(), kIdButtonNext, Scale(400), Scale(90),
                                   BS_DEFPUSHBUTTON);
    buttonCancel_ = CreatePushButton(buttonBar_->Handle(), kIdButtonCancel, Scale(500), Scale(75), 0);
    for (HWND b : {buttonPrev_, buttonNext_, buttonCancel_})
        setFont(b, font_.get());

    // The picture column.
    picturePanel_ = std::make_unique<Panel>(Handle(), kIdPicturePanel, Bevel::Lowered);
    imageStep_ = ::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_BITMAP, 0, 0, 0, 0,
                                   picturePanel_->Handle(), reinterpret_cast<HMENU>(kIdImageStep),
                                   ::GetModuleHandleA(nullptr), nullptr);
    picturePanel_->onResize = [this](int, int) { LayOutPicture(); };

    // The step area: title strip over the current page.
    stepsPanel_ = std::make_unique<Panel>(Handle(), kIdStepsPanel);
    LabelStyle titleStyle;
    titleStyle.textColor = RGB(255, 255, 255);
    titleStyle.background = RGB(128, 128, 128);
    titleStyle.centred = true;
    titleLabel_ = std::make_unique<Label>(stepsPanel_->Handle(), kIdTitleLabel, titleStyle);
    titleLabel_->SetFont(titleFont_.get());
    pagePanel_ = std::make_unique<Panel>(stepsPanel_->Handle(), kIdPagePanel);
    ::SendMessageA(pagePanel_->Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(stepFont_.get()), FALSE);
    pagePanel_->onResize = [this](int, int) { LayOutPagePanel(); };
    stepsPanel_->onResize = [this](int w, int h) {
        const int title = Scale(kTitleHeight);
        ::MoveWindow(titleLabel_->Handle(), 0, 0, w, title, TRUE);
        ::MoveWindow(pagePanel_->Handle(), 0, title, w, h > title ? h - title : 0, TRUE);
    };

    balloonHints_ = std::make_unique<BalloonHints>(Handle());

    for (Panel* p : {buttonBar_.get(), picturePanel_.get(), stepsPanel_.get(), pagePanel_.get()})
        ::ShowWindow(p->Handle(), SW_SHOW);
}

void WizardWindow::LayoutControls()
{
    RECT client;
    ::GetClientRect(Handle(), &client);
    RECT strip;
    ::GetWindowRect(buttonBar_->Handle(), &strip);
    const int stripHeight = strip.bottom - strip.top;
    const int above = client.bottom - stripHeight;
    const int imageWidth = Scale(kImageColumnWidth);
    ::MoveWindow(buttonBar_->Handle(), 0, above, client.right, stripHeight, TRUE);
    ::MoveWindow(buttonBarBevel_, 0, 0, client.right, 2, TRUE);
    ::MoveWindow(picturePanel_->Handle(), 0, 0, imageWidth, above, TRUE);
    ::MoveWindow(stepsPanel_->Handle(), imageWidth, 0, client.right - imageWidth, above, TRUE);
}

void WizardWindow::Show(int showCommand)
{
    ::ShowWindow(Handle(), showCommand);
    // After ShowWindow, so that a window started minimised is already
    // minimised when FirstShown brings it back.
    if (!formShown_) {
        formShown_ = true;
        Guarded([&] { FirstShown(); });
    }
    ::UpdateWindow(Handle());
}

void WizardWindow::FirstShown()
{
    ForceForegroundWindow(Handle());
    ::SetWindowTextA(Handle(), texts::kWizardCaption);
    LoadPackage();
    BuildStepList();
}

// ---- the controller ----------------------------------------------------------

void WizardWindow::BuildStepList()
{
    HWND changes = changesPage_->RichEditFile();
    if (RichLineCount(changes) == 0) {
        std::string notice = std::string("\r\n") + texts::kInternalCorrectionsOnly;
        ::SetWindowTextA(changes, notice.c_str());
    }

    std::vector<std::string> known;
    for (const WizardPage* page : allPages_)
        known.push_back(page->Name());
    const std::vector<std::string> names = manifest::ApplyStepLines(
        stepNames_, {welcomePage_->Name(), changesPage_->Name(), reportPage_->Name()},
        known);
    stepList_.clear();
    for (const std::string& name : names)
        stepList_.push_back(*std::find_if(allPages_.begin(), allPages_.end(),
                                          [&](const WizardPage* p) { return p->Name() == name; }));
}

WizardPage* WizardWindow::CurrentStep() const
{
    return stepHistory_.empty() ? nullptr : stepHistory_.back();
}

WizardPage* WizardWindow::NextStepAfter(WizardPage* step) const
{
    auto it = std::find(stepList_.begin(), stepList_.end(), step);
    if (it == stepList_.end())
        return stepList_.empty() ? nullptr : stepList_.front();
    ++it;
    return it == stepList_.end() ? nullptr : *it;
}

void WizardWindow::StartTimerFired()
{
    ::KillTimer(Handle(), kStartTimerId);
    // A tick already queued when the timer was killed finds the welcome page
    // shown.
    if (!stepHistory_.empty())
        return;
    welcomePage_->SetWelcomeText(titleLabel_->Text(), welcomeExtraText_);
    stepHistory_.push_back(welcomePage_);
    ShowCurrentStep();
    timings::AddSinceProcessStart(timings::Stage::StartupWelcome);
}

void WizardWindow::OnIdle()
{
    UpdateActions();
}

void WizardWindow::UpdateActions()
{
    WizardPage* step = CurrentStep();
    if (step) {
        actionBack_.SetEnabled(step != welcomePage_ && !UpdateStarted());
        actionCancel_.SetEnabled(!UpdateStarted());
        actionNext_.SetEnabled(step->CanGoNext());
        actionNext_.SetCaption(step->GetNextCaption());
    } else {
        actionNext_.SetCaption("");
        actionBack_.SetEnabled(false);
        actionNext_.SetEnabled(false);
    }
    // A button disabled while it had the focus (Précédant pressed from the
    // keyboard, back on the welcome page) leaves the window without one, and
    // Enter, Tab and Escape with nothing to act on: hand it to Next.
    HWND focus = ::GetFocus();
    if (::GetActiveWindow() == Handle() && (!focus || !::IsWindowEnabled(focus)))
        ::SetFocus(buttonNext_);
}

void WizardWindow::ShowCurrentStep()
{
    ui_.BeginWaitCursor();
    const ScopeExit endWait([this] { ui_.EndWaitCursor(); });
    for (WizardPage* page : stepList_)
        page->Detach();

    WizardPage* step = CurrentStep();
    if (!step)
        throw Error("Cannot get current step");

    step->AttachTo(pagePanel_->Handle(), stepFont_.get());
    LayOutPagePanel();

    HBITMAP picture = step->GetStepImage();
    ::SendMessageA(imageStep_, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture));
    picturePanel_->SetColor(picture ? BottomLeftPixel(picture) : CLR_INVALID);
    LayOutPicture();

    step->EnterStep();
    ::ShowWindow(step->Handle(), SW_SHOW);

    HWND focus = step->ActiveControl();
    if (focus)
        ::SetFocus(focus);
    else if (!::IsChild(Handle(), ::GetFocus()))
        ::SetFocus(buttonNext_);
}

void WizardWindow::LayOutPagePanel()
{
    WizardPage* step = CurrentStep();
    if (!step || !pagePanel_)
        return;
    RECT r;
    ::GetClientRect(pagePanel_->Handle(), &r);
    ::MoveWindow(step->Handle(), 0, 0, r.right, r.bottom, TRUE);
}

void WizardWindow::LayOutPicture()
{
    if (!picturePanel_ || !imageStep_)
        return;
    RECT client, image;
    ::GetClientRect(picturePanel_->Handle(), &client);
    ::GetWindowRect(imageStep_, &image);
    int w = image.right - image.left, h = image.bottom - image.top;
    ::SetWindowPos(imageStep_, nullptr, (client.right - w) / 2, (client.bottom - h) / 2, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void WizardWindow::ActionNextExecute()
{
    if (UpdateStarted()) {
        ::PostMessageA(Handle(), WM_CLOSE, 0, 0);
        return;
    }
    CurrentStep()->LeaveStep();
    WizardPage* next = NextStepAfter(CurrentStep());
    if (!next)
        throw Error("Next step is missing.");
    stepHistory_.push_back(next);
    ShowCurrentStep();
    if (CurrentStep() == reportPage_)
        RunUpdate();
}

void WizardWindow::ActionBackExecute()
{
    if (stepHistory_.empty())
        return;
    stepHistory_.pop_back();
    ShowCurrentStep();
}

void WizardWindow::ActionCancelExecute()
{
    if (ui_.AskYesNoCancel(texts::kAskCancelUpdate))
        ::PostMessageA(Handle(), WM_CLOSE, 0, 0);
}

// ---- messages ----------------------------------------------------------------

LRESULT WizardWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_TIMER:
        if (wParam == kStartTimerId) {
            StartTimerFired();
            return 0;
        }
        break;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case kIdButtonPrev:
            actionBack_.Execute();
            return 0;
        case IDOK:  // Enter: the default button
        case kIdButtonNext:
            actionNext_.Execute();
            return 0;
        case IDCANCEL:  // Escape
        case kIdButtonCancel:
            actionCancel_.Execute();
            return 0;
        }
        break;
    case DM_GETDEFID:
        return MAKELRESULT(kIdButtonNext, DC_HASDEFID);
    case WM_SETCURSOR:
        if (ApplyWaitCursor())
            return TRUE;
        break;
    case WM_CLOSE:
        // A close while a procedure works would cut a file copy in half: the
        // window stays until the run has ended (Next then reads "Quitter").
        if (runState_ == RunState::Running) {
            ::MessageBeep(MB_OK);
            return 0;
        }
        ::DestroyWindow(Handle());
        return 0;
    case WM_QUERYENDSESSION:
        return runState_ == RunState::Running ? FALSE : TRUE;
    case WM_DESTROY:
        ::KillTimer(Handle(), kStartTimerId);
        ::PostQuitMessage(0);
        return 0;
    }
    return Window::HandleMessage(message, wParam, lParam);
}

}  // namespace qv::wizard
