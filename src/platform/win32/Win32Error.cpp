#include "platform/win32/Win32Error.h"

#include <windows.h>

#include "core/Errors.h"
#include "core/Texts.h"

namespace qv::win32 {

std::string SystemErrorText(unsigned long code)
{
    char buffer[512];
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                                  buffer, sizeof buffer, nullptr);
    if (length == 0)
        return texts::kNoSystemText + std::to_string(code);
    return std::string(buffer, length);
}

std::string LastErrorText()
{
    return SystemErrorText(GetLastError());
}

std::string LastErrorMessage()
{
    DWORD code = GetLastError();
    return SystemErrorMessage(code, code ? SystemErrorText(code) : std::string());
}

void RaiseLastSystemError()
{
    throw Error(LastErrorMessage());
}

}  // namespace qv::win32
