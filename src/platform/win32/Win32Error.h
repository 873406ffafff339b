#pragma once
// Raising "the last system error" from Win32 code.
#include <string>

namespace qv::win32 {

// The system's text for an error code (FormatMessageA, 512 characters, the
// trailing line break kept), or "code : " + the code when it has none.
std::string SystemErrorText(unsigned long code);

// SystemErrorText(GetLastError()).
std::string LastErrorText();

// The message of the last system error (see SystemErrorMessage).
std::string LastSystemErrorMessage();

// Throws qv::Error with LastSystemErrorMessage().
[[noreturn]] void RaiseLastSystemError();

}  // namespace qv::win32
