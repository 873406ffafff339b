#include "main/TfrmMain.h"

#include <algorithm>

#include "ControlIds.h"
#include "core/Errors.h"
#include "core/Text.h"
#include "core/Texts.h"
#include "pages/TfrmDisplayFile.h"
#include "pages/TfrmEndInstall.h"
#include "pages/TfrmWelcome.h"
#include "platform/win32/Win32Error.h"
#include "platform/win32/Win32UserInteraction.h"
#include "res/ResourceIds.h"
#include "ui/Dpi.h"
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
constexpr UINT_PTR kTimerOneTime = 1;
constexpr UINT kTimerOneTimeMs = 10;
constexpr DWORD kMainStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX |
                             WS_CLIPCHILDREN;
constexpr DWORD kMainExStyle = WS_EX_CONTROLPARENT | WS_EX_APPWINDOW;

// Keeps the hourglass up for the scope, whatever leaves it.
class WaitCursor {
public:
    explicit WaitCursor(UserInteraction& ui) : ui_(ui) { ui_.BeginWaitCursor(); }
    ~WaitCursor() { ui_.EndWaitCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    UserInteraction& ui_;
};

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

TfrmMain::TfrmMain(UserInteraction& ui, WizardEngine& engine) : ui_(ui), engine_(engine)
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
    RECT work{};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    int x = work.left + ((work.right - work.left) - w) / 2;
    int y = work.top + ((work.bottom - work.top) - h) / 2;
    Create(kMainWindowClass, kMainExStyle, kMainStyle, texts::kWizardCaption, x, y, w, h, nullptr,
           0, ::GetSysColorBrush(COLOR_BTNFACE), icon_.get());
    ::SendMessageA(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.get()));
    ::SendMessageA(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
    FormCreate();
}

TfrmMain::~TfrmMain() = default;

void TfrmMain::SetPages(TfrmWelcome& welcome, TfrmDisplayFile& displayFile,
                        TfrmEndInstall& endInstall)
{
    frmWelcome_ = &welcome;
    frmDisplayFile_ = &displayFile;
    frmEndInstall_ = &endInstall;
    allPages_ = {&welcome, &displayFile, &endInstall};
    RzBalloonHints->Add(displayFile.SpeedButtonPrint(), texts::kPrintHint);
    RzBalloonHints->Add(endInstall.SpeedButtonPrint(), texts::kPrintHint);
}

void TfrmMain::AddExtraPage(TFrmStep& page)
{
    allPages_.push_back(&page);
}

void TfrmMain::SetUpdateProcedure(ProductKind kind, UpdateProcedure procedure)
{
    procedures_[kind] = std::move(procedure);
}

// ---- creation and layout ---------------------------------------------------

void TfrmMain::FormCreate()
{
    CreateControls();
    ActionBack.SetCaption(texts::kActionBack);
    ActionAnnuler.SetCaption(texts::kActionCancel);
    ActionBack.Bind(ButtonPrev);
    ActionNext.Bind(ButtonNext);
    ActionAnnuler.Bind(ButtonCancel);
    ActionBack.onExecute = [this] { ActionBackExecute(); };
    ActionNext.onExecute = [this] { ActionNextExecute(); };
    ActionAnnuler.onExecute = [this] { ActionAnnulerExecute(); };
    // Starting: nothing to go back or forth to yet.
    ActionBack.SetEnabled(false);
    ActionNext.SetEnabled(false);

    LayoutButtonPanel(*PanelButtons);
    LayoutControls();
    ::SetTimer(Handle(), kTimerOneTime, kTimerOneTimeMs, nullptr);
}

void TfrmMain::CreateControls()
{
    font_ = MakeFont("MS Sans Serif", 13);
    stepFont_ = MakeFont("MS Sans Serif", 17);
    titleFont_ = MakeFont("Arial", 17, true);
    auto setFont = [](HWND h, HFONT f) { ::SendMessageA(h, WM_SETFONT, reinterpret_cast<WPARAM>(f), FALSE); };
    RECT client;
    ::GetClientRect(Handle(), &client);

    // The button strip along the bottom.
    PanelButtons = std::make_unique<Panel>(Handle(), kIdPanelButtons);
    ::MoveWindow(PanelButtons->Handle(), 0, 0, client.right, Scale(45), FALSE);
    BevelButtons = ::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_ETCHEDHORZ, 0, 0,
                                     client.right, 2, PanelButtons->Handle(),
                                     reinterpret_cast<HMENU>(kIdBevelButtons),
                                     ::GetModuleHandleA(nullptr), nullptr);
    LabelStyle versionStyle;
    versionStyle.wordWrap = false;
    versionStyle.raised = true;
    RzLabelVersion = std::make_unique<Label>(PanelButtons->Handle(), kIdLabelVersion, versionStyle);
    RzLabelVersion->SetFont(font_.get());
    RzLabelVersion->SetText(texts::kVersionLabel);
    ::MoveWindow(RzLabelVersion->Handle(), Scale(kVersionLeft), Scale(kVersionTop), Scale(260),
                 Scale(18), FALSE);
    // Placed left to right; LayoutButtonPanel packs them against the right edge.
    ButtonPrev = CreatePushButton(PanelButtons->Handle(), kIdButtonPrev, Scale(300), Scale(90), 0);
    ButtonNext = CreatePushButton(PanelButtons->Handle(), kIdButtonNext, Scale(400), Scale(90),
                                  BS_DEFPUSHBUTTON);
    ButtonCancel = CreatePushButton(PanelButtons->Handle(), kIdButtonCancel, Scale(500), Scale(75), 0);
    for (HWND b : {ButtonPrev, ButtonNext, ButtonCancel})
        setFont(b, font_.get());

    // The picture column.
    PanelImage = std::make_unique<Panel>(Handle(), kIdPanelImage, Bevel::Lowered);
    ImageStep = ::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_BITMAP, 0, 0, 0, 0,
                                  PanelImage->Handle(), reinterpret_cast<HMENU>(kIdImageStep),
                                  ::GetModuleHandleA(nullptr), nullptr);
    PanelImage->onResize = [this](int, int) { PanelImageResize(); };

    // The step area: title strip over the current page.
    PanelSteps = std::make_unique<Panel>(Handle(), kIdPanelSteps);
    LabelStyle titleStyle;
    titleStyle.textColor = RGB(255, 255, 255);
    titleStyle.background = RGB(128, 128, 128);
    titleStyle.centred = true;
    RzLabelTitle = std::make_unique<Label>(PanelSteps->Handle(), kIdLabelTitle, titleStyle);
    RzLabelTitle->SetFont(titleFont_.get());
    PanelCurrStep = std::make_unique<Panel>(PanelSteps->Handle(), kIdPanelCurrStep);
    ::SendMessageA(PanelCurrStep->Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(stepFont_.get()), FALSE);
    PanelCurrStep->onResize = [this](int, int) { PanelCurrStepResize(); };
    PanelSteps->onResize = [this](int w, int h) {
        const int title = Scale(kTitleHeight);
        ::MoveWindow(RzLabelTitle->Handle(), 0, 0, w, title, TRUE);
        ::MoveWindow(PanelCurrStep->Handle(), 0, title, w, h > title ? h - title : 0, TRUE);
    };

    RzBalloonHints = std::make_unique<BalloonHints>(Handle());

    for (Panel* p : {PanelButtons.get(), PanelImage.get(), PanelSteps.get(), PanelCurrStep.get()})
        ::ShowWindow(p->Handle(), SW_SHOW);
}

void TfrmMain::LayoutControls()
{
    RECT client;
    ::GetClientRect(Handle(), &client);
    RECT strip;
    ::GetWindowRect(PanelButtons->Handle(), &strip);
    const int stripHeight = strip.bottom - strip.top;
    const int above = client.bottom - stripHeight;
    const int imageWidth = Scale(kImageColumnWidth);
    ::MoveWindow(PanelButtons->Handle(), 0, above, client.right, stripHeight, TRUE);
    ::MoveWindow(BevelButtons, 0, 0, client.right, 2, TRUE);
    ::MoveWindow(PanelImage->Handle(), 0, 0, imageWidth, above, TRUE);
    ::MoveWindow(PanelSteps->Handle(), imageWidth, 0, client.right - imageWidth, above, TRUE);
}

void TfrmMain::Show(int showCommand)
{
    ::ShowWindow(Handle(), showCommand);
    // After ShowWindow, so that a window started minimised is already
    // minimised when FormShow brings it back.
    if (!shown_) {
        shown_ = true;
        Guarded([&] { FormShow(); });
    }
    ::UpdateWindow(Handle());
}

void TfrmMain::FormShow()
{
    ForceForegroundWindow(Handle());
    ::SetWindowTextA(Handle(), texts::kWizardCaption);
    LoadPackage();
    BuildStepList();
}

// ---- the controller ----------------------------------------------------------

void TfrmMain::BuildStepList()
{
    StepList.clear();
    StepList.push_back(frmWelcome_);
    StepList.push_back(frmDisplayFile_);

    HWND changes = frmDisplayFile_->RichEditFile();
    if (RichLineCount(changes) == 0) {
        std::string notice = std::string("\r\n") + texts::kInternalCorrectionsOnly;
        ::SetWindowTextA(changes, notice.c_str());
    }

    for (const std::string& name : StepNames) {
        auto page = std::find_if(allPages_.begin(), allPages_.end(), [&](TFrmStep* p) {
            return EqualsIgnoreCaseAscii(p->Name(), name);
        });
        if (page != allPages_.end() &&
            std::find(StepList.begin(), StepList.end(), *page) == StepList.end())
            StepList.push_back(*page);
    }
    if (std::find(StepList.begin(), StepList.end(), frmEndInstall_) == StepList.end())
        StepList.push_back(frmEndInstall_);
}

TFrmStep* TfrmMain::CurrentStep() const
{
    return StepHistory.empty() ? nullptr : StepHistory.back();
}

TFrmStep* TfrmMain::NextStepAfter(TFrmStep* step) const
{
    auto it = std::find(StepList.begin(), StepList.end(), step);
    if (it == StepList.end())
        return StepList.empty() ? nullptr : StepList.front();
    ++it;
    return it == StepList.end() ? nullptr : *it;
}

void TfrmMain::TimerOneTimeTimer()
{
    if (WelcomeShown)
        return;
    WelcomeShown = true;
    ::KillTimer(Handle(), kTimerOneTime);
    frmWelcome_->SetWelcomeText(RzLabelTitle->Text(), WelcomeExtraText);
    StepHistory.push_back(frmWelcome_);
    ShowCurrentStep();
}

void TfrmMain::ActionListMainUpdate()
{
    UpdateActions();
}

void TfrmMain::UpdateActions()
{
    TFrmStep* step = CurrentStep();
    if (step) {
        ActionBack.SetEnabled(step != frmWelcome_ && !UpdateStarted);
        ActionAnnuler.SetEnabled(!UpdateStarted);
        ActionNext.SetEnabled(step->CanGoNext());
        ActionNext.SetCaption(step->GetNextCaption());
    } else {
        ActionNext.SetCaption("");
        ActionBack.SetEnabled(false);
        ActionNext.SetEnabled(false);
    }
}

void TfrmMain::ShowCurrentStep()
{
    WaitCursor wait(ui_);
    for (TFrmStep* page : StepList)
        page->Detach();

    TFrmStep* step = CurrentStep();
    if (!step)
        throw Error("Cannot get current step");

    step->AttachTo(PanelCurrStep->Handle(), stepFont_.get());
    PanelCurrStepResize();

    HBITMAP picture = step->GetStepImage();
    ::SendMessageA(ImageStep, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture));
    PanelImage->SetColor(picture ? BottomLeftPixel(picture) : CLR_INVALID);
    PanelImageResize();

    step->EnterStep();
    ::ShowWindow(step->Handle(), SW_SHOW);

    HWND focus = step->ActiveControl();
    if (focus)
        ::SetFocus(focus);
    else if (!::IsChild(Handle(), ::GetFocus()))
        ::SetFocus(ButtonNext);
}

void TfrmMain::PanelCurrStepResize()
{
    TFrmStep* step = CurrentStep();
    if (!step || !PanelCurrStep)
        return;
    RECT r;
    ::GetClientRect(PanelCurrStep->Handle(), &r);
    ::MoveWindow(step->Handle(), 0, 0, r.right, r.bottom, TRUE);
}

void TfrmMain::PanelImageResize()
{
    if (!PanelImage || !ImageStep)
        return;
    RECT client, image;
    ::GetClientRect(PanelImage->Handle(), &client);
    ::GetWindowRect(ImageStep, &image);
    int w = image.right - image.left, h = image.bottom - image.top;
    ::SetWindowPos(ImageStep, nullptr, (client.right - w) / 2, (client.bottom - h) / 2, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TfrmMain::ActionNextExecute()
{
    if (UpdateStarted) {
        ::PostMessageA(Handle(), WM_CLOSE, 0, 0);
        return;
    }
    CurrentStep()->LeaveStep();
    TFrmStep* next = NextStepAfter(CurrentStep());
    if (!next)
        throw Error("Next step is missing.");
    StepHistory.push_back(next);
    ShowCurrentStep();
    if (CurrentStep() == frmEndInstall_)
        RunUpdate();
}

void TfrmMain::ActionBackExecute()
{
    if (StepHistory.empty())
        return;
    StepHistory.pop_back();
    ShowCurrentStep();
}

void TfrmMain::ActionAnnulerExecute()
{
    if (ui_.AskYesNoCancel(texts::kAskCancelUpdate))
        ::PostMessageA(Handle(), WM_CLOSE, 0, 0);
}

// ---- messages ----------------------------------------------------------------

LRESULT TfrmMain::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_TIMER:
        if (wParam == kTimerOneTime) {
            TimerOneTimeTimer();
            return 0;
        }
        break;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case kIdButtonPrev:
            ActionBack.Execute();
            return 0;
        case IDOK:  // Enter: the default button
        case kIdButtonNext:
            ActionNext.Execute();
            return 0;
        case IDCANCEL:  // Escape
        case kIdButtonCancel:
            ActionAnnuler.Execute();
            return 0;
        }
        break;
    case DM_GETDEFID:
        return MAKELRESULT(kIdButtonNext, DC_HASDEFID);
    case WM_SETCURSOR:
        if (win32::ApplyWaitCursor())
            return TRUE;
        break;
    case WM_CLOSE:
        // A close while a procedure works would cut a file copy in half: the
        // window stays until the run has ended (Next then reads "Quitter").
        if (running_) {
            ::MessageBeep(MB_OK);
            return 0;
        }
        ::DestroyWindow(Handle());
        return 0;
    case WM_QUERYENDSESSION:
        return running_ ? FALSE : TRUE;
    case WM_DESTROY:
        ::KillTimer(Handle(), kTimerOneTime);
        ::PostQuitMessage(0);
        return 0;
    }
    return Window::HandleMessage(message, wParam, lParam);
}

}  // namespace qv::wizard
