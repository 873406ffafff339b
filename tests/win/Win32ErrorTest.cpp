#include <gtest/gtest.h>
#include <windows.h>

#include "core/Errors.h"
#include "platform/win32/Win32Error.h"

namespace qv::win32 {
namespace {

TEST(Win32Error, UnknownCodeHasNoSystemText)
{
    EXPECT_EQ(SystemErrorText(0x2FFFFFF0), "code : " + std::to_string(0x2FFFFFF0));
}

TEST(Win32Error, RaiseLastSystemErrorCarriesCodeAndText)
{
    SetLastError(ERROR_FILE_NOT_FOUND);
    try {
        RaiseLastSystemError();
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(e.Message().rfind("Erreur système.  Code : 2.\r\n", 0), 0u) << e.Message();
        EXPECT_GT(e.Message().size(), 30u);
    }
    SetLastError(0);
    EXPECT_THROW(RaiseLastSystemError(), Error);
}

}  // namespace
}  // namespace qv::win32
