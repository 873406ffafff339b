#include "platform/win32/WindowsHelpers.h"

#include <cstdlib>

#include "core/Errors.h"
#include "core/RunTimings.h"
#include "platform/win32/VersionBlock.h"
#include "platform/win32/Win32Error.h"
#include "platform/win32/Win32Handles.h"

namespace qv::win32 {

FileVersionRecord GetFileVersionRecord(const std::string& path)
{
    std::string file = path;
    if (file.empty()) {
        char self[MAX_PATH] = {};
        DWORD n = GetModuleFileNameA(nullptr, self, MAX_PATH);
        file.assign(self, n < MAX_PATH ? n : 0);
    }
    VersionBlock block(file);
    std::string translation = block.Translation();

    FileVersionRecord r;
    r.LangId = translation.substr(0, 4);
    r.CodePage = translation.size() >= 8 ? translation.substr(4, 4) : std::string();
    r.LanguageName = VersionLanguageName(static_cast<unsigned>(HexToInt(r.LangId)));

    struct Field {
        const char* name;
        std::string FileVersionRecord::*member;
    } fields[] = {
        {"CompanyName", &FileVersionRecord::CompanyName},
        {"FileDescription", &FileVersionRecord::FileDescription},
        {"FileVersion", &FileVersionRecord::FileVersion},
        {"InternalName", &FileVersionRecord::InternalName},
        {"LegalCopyright", &FileVersionRecord::LegalCopyright},
        {"LegalTrademarks", &FileVersionRecord::LegalTrademarks},
        {"OriginalFilename", &FileVersionRecord::OriginalFilename},
        {"ProductName", &FileVersionRecord::ProductName},
        {"ProductVersion", &FileVersionRecord::ProductVersion},
        {"Comments", &FileVersionRecord::Comments},
    };
    for (const Field& f : fields)
        r.*f.member = block.String(translation, f.name);
    return r;
}

bool SetFileWriteTime(const std::string& path, FileTime time)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    UniqueFile file(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        RaiseLastSystemError();
    FILETIME ft = ToFILETIME(time);
    return SetFileTime(file.get(), nullptr, nullptr, &ft) != 0;
}

std::string GetDriveLetters()
{
    char list[256] = {};
    DWORD length = GetLogicalDriveStringsA(255, list);
    if (length > 255)
        length = 0;  // would not fit: nothing reliable was written
    std::string letters;
    for (DWORD i = 0; i < length && letters.size() < 26; ++i) {
        char c = list[i];
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        if (c >= 'A' && c <= 'Z')
            letters += c;
    }
    return letters;
}

void Delay(int milliseconds)
{
    if (milliseconds <= 0)
        return;
    const DWORD total = static_cast<DWORD>(milliseconds);
    // For the benchmark: the wait's real length, and how much of it went to
    // handling the messages that came meanwhile (painting above all).
    const timings::Scope measured(timings::Scope::WaitOf{milliseconds});

    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                // The application is terminating: leave the quit for the
                // main loop and stop waiting.
                PostQuitMessage(static_cast<int>(msg.wParam));
                return;
            }
            const timings::Scope dispatching(timings::Stage::WaitDispatch);
            const timings::Scope painting(timings::Stage::WaitPaint, msg.message == WM_PAINT);
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= total)
            return;
        // Sleep until a message arrives or the time is up.
        MsgWaitForMultipleObjectsEx(0, nullptr, total - elapsed, QS_ALLINPUT,
                                    MWMO_INPUTAVAILABLE);
    }
}

void SleepWithoutMessages(unsigned milliseconds)
{
    Sleep(milliseconds);
}

}  // namespace qv::win32
