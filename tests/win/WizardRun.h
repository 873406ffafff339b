#pragma once
// A whole run of a wizard program as a person makes it: Suivant, Démarrer,
// each question answered in turn, Quitter; and a temporary folder of its
// own for the programs this test starts.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

#include "BoundedWait.h"
#include "ControlIds.h"
#include "WizardDriver.h"

namespace qv::test {

// The result lines a run's report ends with.
constexpr char kOk[] = "La mise à jour est terminée avec succès.";
constexpr char kKo[] = "La mise à jour a échouée !";
constexpr char kNot[] = "La mise à jour n'a pas été effectuée.";
constexpr char kWarning[] = "La mise à jour a été effectuée mais avec des avertissements !";

// A wizard that ends deletes the Update*.tmp of its temporary folder, and
// so do the engines of other tests running meanwhile in this prefix:
// while this lives, the programs this process starts get a temporary folder
// of their own through TMP and TEMP.
class OwnTemporaryFolder {
public:
    explicit OwnTemporaryFolder(const std::string& name)
    {
        char value[MAX_PATH] = {};
        GetEnvironmentVariableA("TMP", value, MAX_PATH);
        savedTmp_ = value;
        GetEnvironmentVariableA("TEMP", value, MAX_PATH);
        savedTemp_ = value;
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        path_ = std::string(temp) + name + "-" + std::to_string(GetCurrentProcessId());
        std::filesystem::create_directories(path_);
        SetEnvironmentVariableA("TMP", path_.c_str());
        SetEnvironmentVariableA("TEMP", path_.c_str());
    }
    const std::string& Path() const { return path_; }
    ~OwnTemporaryFolder()
    {
        SetEnvironmentVariableA("TMP", savedTmp_.empty() ? nullptr : savedTmp_.c_str());
        SetEnvironmentVariableA("TEMP", savedTemp_.empty() ? nullptr : savedTemp_.c_str());
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    OwnTemporaryFolder(const OwnTemporaryFolder&) = delete;
    OwnTemporaryFolder& operator=(const OwnTemporaryFolder&) = delete;

private:
    std::string path_, savedTmp_, savedTemp_;
};

// Runs the program (beside the test program, with the given command-line
// arguments) to its report: Suivant, Démarrer, then each message box
// answered from answers (IDYES, IDNO...; IDOK once they are used up) and
// its text added to asked. Gives the report and the program's exit code,
// which tells how its run ended. A step that does not come fails the test
// there: call it inside ASSERT_NO_FATAL_FAILURE.
inline void RunWizard(const std::string& program, std::vector<int> answers,
                      std::vector<std::string>* asked, std::string& report,
                      const std::string& arguments = "", DWORD* exitCode = nullptr)
{
    using namespace qv::wizard;
    // One whole update takes well under a minute under Wine; this leaves
    // room on a loaded machine.
    constexpr DWORD kRunTimeoutMs = 4 * 60 * 1000;
    WizardDriver wizard;
    wizard.Start(program, SW_SHOWNORMAL, arguments);
    ASSERT_TRUE(wizard.WaitForWelcome()) << "no welcome page from " << program;
    ASSERT_TRUE(wizard.NextTo(kChangesPageClass)) << "no list of changes after Suivant";
    wizard.Press(kIdButtonNext);
    ASSERT_AWAITED(
        "the end of the run: Next enabled and reading \"Quitter\"",
        [&] {
            if (HWND box = wizard.FindMessageBox()) {
                if (asked)
                    asked->push_back(WizardDriver::MessageBoxText(box));
                int answer = answers.empty() ? IDOK : answers.front();
                if (!answers.empty())
                    answers.erase(answers.begin());
                WizardDriver::Answer(box, answer);
                // Gone before the next look, so that it counts once.
                WaitUntil([box] { return !IsWindow(box) || !IsWindowVisible(box); });
                return false;
            }
            return wizard.IsEnabled(kIdButtonNext) &&
                   wizard.ControlText(kIdButtonNext) == "Quitter";
        },
        kRunTimeoutMs);
    report = WizardDriver::Text(wizard.Control(kIdRichEditReport));
    wizard.Press(kIdButtonNext);
    const DWORD code = wizard.WaitForExit(60000);
    if (exitCode)
        *exitCode = code;
    ASSERT_NE(code, DWORD(STILL_ACTIVE)) << "the program did not end after Quitter";
}

// The text without its trailing line ends ends with end.
// A log file read back: its bytes are UTF-8, the test's texts Windows-1252.
inline std::string Cp1252FromUtf8(const std::string& utf8)
{
    std::wstring wide(utf8.size(), L'\0');
    wide.resize(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), wide.data(),
                                    int(wide.size())));
    std::string text(wide.size() * 2, '\0');
    text.resize(WideCharToMultiByte(1252, 0, wide.data(), int(wide.size()), text.data(),
                                    int(text.size()), nullptr, nullptr));
    return text;
}

inline bool EndsWith(const std::string& text, const std::string& end)
{
    std::string trimmed = text;
    while (!trimmed.empty() && (trimmed.back() == '\r' || trimmed.back() == '\n'))
        trimmed.pop_back();
    return trimmed.size() >= end.size() &&
           trimmed.compare(trimmed.size() - end.size(), end.size(), end) == 0;
}

}  // namespace qv::test
