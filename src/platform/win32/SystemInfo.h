#pragma once
// Windows queries with the program's own fall-backs, and the error box for
// a failed system call.
#include <string>

#include "platform/UserInteraction.h"
#include "platform/win32/Win32Error.h"  // SystemErrorText, LastErrorText

namespace qv::win32 {

// The Windows folder with a trailing backslash, or "" when Windows gives
// none.
std::string GetWindowsFolder();

// What follows ShowLastError's box: the caller goes on, or the current
// action stops with a silent abort.
enum class AfterError { Continue, Abort };

// Error box with prefix, CR LF and the last system error's text, then
// whatever after says.
void ShowLastError(UserInteraction& ui, const std::string& prefix, AfterError after);

// The NetBIOS computer name; "?" when nobody is logged on; any other
// failure is shown (ShowLastError) and aborts silently.
std::string GetComputerNameText(UserInteraction& ui);

// The logged-on user's name; "?" when nobody is logged on.
std::string GetUserNameText();

// The "FileVersion" string of a file's version resource under its first
// translation; "?" when the file has no version resource, "" when it has no
// such string.
std::string FileVersionText(const std::string& path);

}  // namespace qv::win32
