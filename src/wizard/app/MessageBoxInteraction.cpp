#include "app/MessageBoxInteraction.h"

#include <windows.h>

#include <commdlg.h>
#include <shlobj.h>

#include "core/Texts.h"

namespace qv::wizard {

void MessageBoxInteraction::Beep(unsigned soundType)
{
    ::MessageBeep(soundType);
}

DialogResult MessageBoxInteraction::ShowMessageDialog(const std::string& text, DialogType type,
                                                      DialogButtons buttons)
{
    UINT flags = MB_TASKMODAL | MB_SETFOREGROUND;
    const char* caption = texts::kCaptionInformation;
    switch (type) {
    case DialogType::Warning: flags |= MB_ICONWARNING; caption = texts::kCaptionWarning; break;
    case DialogType::Error: flags |= MB_ICONERROR; caption = texts::kCaptionError; break;
    case DialogType::Information: flags |= MB_ICONINFORMATION; break;
    case DialogType::Confirmation: flags |= MB_ICONQUESTION; caption = texts::kCaptionConfirmation; break;
    }
    switch (buttons) {
    case DialogButtons::Ok: flags |= MB_OK; break;
    case DialogButtons::YesNo: flags |= MB_YESNO; break;
    case DialogButtons::YesNoCancel: flags |= MB_YESNOCANCEL; break;
    }
    switch (::MessageBoxA(::GetActiveWindow(), text.c_str(), caption, flags)) {
    case IDYES: return DialogResult::Yes;
    case IDNO: return DialogResult::No;
    case IDOK: return DialogResult::Ok;
    default: return buttons == DialogButtons::YesNo ? DialogResult::No : DialogResult::Cancel;
    }
}

std::string MessageBoxInteraction::BrowseForFolder(const std::string& title)
{
    BROWSEINFOA bi{};
    bi.hwndOwner = ::GetActiveWindow();
    bi.lpszTitle = title.c_str();
    bi.ulFlags = BIF_RETURNONLYFSDIRS;
    PIDLIST_ABSOLUTE pidl = ::SHBrowseForFolderA(&bi);
    if (!pidl)
        return {};
    char path[MAX_PATH] = {};
    BOOL ok = ::SHGetPathFromIDListA(pidl, path);
    ::CoTaskMemFree(pidl);
    return ok ? path : std::string();
}

std::string MessageBoxInteraction::ChooseFile()
{
    char path[MAX_PATH] = {};
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = ::GetActiveWindow();
    ofn.lpstrFile = path;
    ofn.nMaxFile = MAX_PATH;
    ofn.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
    return ::GetOpenFileNameA(&ofn) ? path : std::string();
}

void MessageBoxInteraction::SetWaitCursor(bool on)
{
    ::SetCursor(::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(on ? IDC_WAIT : IDC_ARROW)));
}

}  // namespace qv::wizard
