#pragma once
// The texts of Windows error codes, and raising "the last system error".
// A text is what the system says about a code; a message is the program's
// whole error message around it (qv::SystemErrorMessage).
#include <string>

namespace qv::win32 {

// The system's text for an error code (FormatMessageA, 512 characters, the
// trailing line break kept), or "code : " + the code when it has none.
std::string SystemErrorText(unsigned long code);

// SystemErrorText(GetLastError()).
std::string LastErrorText();

// The message of GetLastError(): "Erreur système.  Code : %d." + CR LF +
// its text, or the generic text when the code is 0.
std::string LastErrorMessage();

// Throws qv::Error with LastErrorMessage().
[[noreturn]] void RaiseLastSystemError();

}  // namespace qv::win32
