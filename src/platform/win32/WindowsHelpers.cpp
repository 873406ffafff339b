#include "platform/win32/WindowsHelpers.h"

#include <cstdlib>
#include <vector>

#include "core/Errors.h"
#include "core/RunTimings.h"
#include "platform/win32/VersionBlock.h"
#include "platform/win32/Win32Error.h"
#include "platform/win32/Win32Handles.h"

namespace qv::win32 {

std::string ProgramPath()
{
    // A path cut at the buffer's end comes back with the buffer's full
    // length: try again with more room.
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        const DWORD n = ::GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0)
            return std::string();
        if (n < buffer.size())
            return std::string(buffer.data(), n);
        if (buffer.size() >= 32768)
            return std::string();
        buffer.resize(buffer.size() * 2);
    }
}

bool HasInteractiveDesktop()
{
    USEROBJECTFLAGS flags{};
    HWINSTA station = ::GetProcessWindowStation();
    if (!station || !::GetUserObjectInformationW(station, UOI_FLAGS, &flags, sizeof flags, nullptr))
        return true;  // nothing known: as before, boxes may show
    return (flags.dwFlags & WSF_VISIBLE) != 0;
}

bool RunsAsLocalSystem()
{
    HANDLE raw = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &raw))
        return false;
    UniqueKernelHandle token(raw);
    DWORD size = 0;
    ::GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
    if (size == 0)
        return false;
    std::vector<unsigned char> buffer(size);
    if (!::GetTokenInformation(token.get(), TokenUser, buffer.data(), size, &size))
        return false;
    const auto* user = reinterpret_cast<const TOKEN_USER*>(buffer.data());
    return ::IsWellKnownSid(user->User.Sid, WinLocalSystemSid) != FALSE;
}

FileVersionRecord GetFileVersionRecord(const std::string& path)
{
    std::string file = path;
    if (file.empty())
        file = ProgramPath();
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
