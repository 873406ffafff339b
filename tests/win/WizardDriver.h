#pragma once
// Drives a running quorvex-update.exe the way a person would: finds its
// window and controls, reads their texts, presses buttons and answers its
// message boxes. Every wait has a time-out, so a hung wizard fails a test
// instead of blocking it.
#include <windows.h>

#include <string>
#include <vector>

#include "BoundedWait.h"

namespace qv::test {

// The folder of the running test program, with a trailing backslash.
std::string TestProgramFolder();

// The whole content of a file, or "<missing>" when it cannot be opened.
std::string ReadFileOrMissing(const std::string& path);

// For the scripts that take screenshots: lets the painting settle, writes
// "<folder>\ready-<name>" and waits for the script's "<folder>\done-<name>".
bool WaitForScreenshot(const std::string& folder, const std::string& name);

class WizardDriver {
public:
    WizardDriver() = default;
    ~WizardDriver();  // ends the process if it still runs
    WizardDriver(const WizardDriver&) = delete;
    WizardDriver& operator=(const WizardDriver&) = delete;

    // Starts the program (a path relative to the test program's folder)
    // with its command-line arguments.
    void Start(const std::string& exeName, int showCommand = SW_SHOWNORMAL,
               const std::string& arguments = "");
    // Waits for the main window and the welcome page; false on time-out.
    bool WaitForWelcome();

    HWND MainWindow() const { return main_; }
    DWORD ProcessId() const { return pi_.dwProcessId; }
    HANDLE Process() const { return pi_.hProcess; }

    // The first descendant of the main window with the control id.
    HWND Control(int id) const;
    static std::string Text(HWND window);
    std::string ControlText(int id) const { return Text(Control(id)); }
    bool IsEnabled(int id) const;

    // The class name of the page shown in the step area ("" when none).
    std::string CurrentPage() const;
    bool WaitForPage(const std::string& pageClass);

    // Clicks a button (posted, so a message box it opens does not block us).
    void Press(int id);
    // The window of the program that has the keyboard focus, or null.
    HWND Focus() const;
    // Presses and releases a key on the window that has the focus (or on
    // the given window), as the keyboard would.
    void Key(UINT virtualKey, HWND target = nullptr) const;
    // Presses Next and waits until the given page is shown.
    bool NextTo(const std::string& pageClass);

    // A visible message box of the program, or null.
    HWND FindMessageBox() const;
    HWND WaitForMessageBox(DWORD timeoutMs = 10000) const;
    static std::string MessageBoxText(HWND box);
    // Clicks a button of a message box by its id (IDYES, IDNO, IDOK...).
    static void Answer(HWND box, int buttonId);

    // Waits for the process to end; its exit code, or STILL_ACTIVE.
    DWORD WaitForExit(DWORD timeoutMs = 15000);

    // Top-level windows of the process with the class.
    std::vector<HWND> TopLevelWindows(const char* className) const;

private:
    PROCESS_INFORMATION pi_{};
    HWND main_ = nullptr;
};

}  // namespace qv::test
