#pragma once
// Free helpers over Windows facilities the update engine and the wizard
// need: version strings, file time stamps, drive letters, and a delay that
// keeps the windows alive. None of them keeps state. (The wizard's window
// helpers, dialogs and rich-text streaming live in src/wizard/ui.)
#include <windows.h>

#include <string>

#include "core/TextConversions.h"  // HexToInt, AdjustLineBreaks
#include "core/WindowsPath.h"      // AddBackslash
#include "platform/FileSystem.h"   // FileTime

namespace qv::win32 {

// The version strings of a file, read from the string table of the first
// translation of its version resource. Versions stay as the author wrote
// them; numeric comparison uses the fixed version record instead.
struct FileVersionRecord {
    std::string LangId;        // language, 4 upper-case hex digits (040C)
    std::string LanguageName;  // VerLanguageNameA of that language
    std::string CodePage;      // code page, 4 upper-case hex digits (04E4)
    std::string CompanyName;
    std::string FileDescription;
    std::string FileVersion;
    std::string InternalName;
    std::string LegalCopyright;
    std::string LegalTrademarks;
    std::string OriginalFilename;
    std::string ProductName;
    std::string ProductVersion;
    std::string Comments;
};

// The record of a file; the empty path means the program's own executable.
// Missing version data gives empty fields, never an error.
FileVersionRecord GetFileVersionRecord(const std::string& path);

// Sets only the last-write time (UTC). False when the file does not exist;
// an existing file that cannot be opened for writing raises the system error.
bool SetFileWriteTime(const std::string& path, FileTime time);

// The letters of all logical drives, in the order Windows lists them.
std::string GetDriveLetters();

// Waits |milliseconds| processing window messages meanwhile, so that the
// windows keep painting; returns early when the application is terminating
// (WM_QUIT is seen, and posted again for the main loop). Nothing for zero or
// less. Never spins: it sleeps until the next message or the end of the
// wait.
void Delay(int milliseconds);
// Waits |milliseconds| without processing any message.
void SleepWithoutMessages(unsigned milliseconds);

// The full path of the program's own executable, however long; "" only
// when Windows gives none.
std::string ProgramPath();

// False when this process's window station is not the interactive one (a
// service's, a scheduled task's without a logged-on user): a box shown
// there waits for an answer nobody can give.
bool HasInteractiveDesktop();

// True when the process runs under the LocalSystem account (S-1-5-18), as
// software distribution and group-policy scripts start it.
bool RunsAsLocalSystem();

// FILETIME <-> the 64-bit form used by the interfaces.
inline FileTime ToFileTime(const FILETIME& ft)
{
    return (static_cast<FileTime>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}
inline FILETIME ToFILETIME(FileTime t)
{
    FILETIME ft;
    ft.dwLowDateTime = static_cast<DWORD>(t);
    ft.dwHighDateTime = static_cast<DWORD>(t >> 32);
    return ft;
}

}  // namespace qv::win32
