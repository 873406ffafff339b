#include "core/Errors.h"

#include "core/Format.h"
#include "core/Texts.h"

namespace qv {

std::string SystemErrorMessage(unsigned long code, const std::string& systemText)
{
    if (code == 0)
        return texts::kSystemCallFailed;
    return Format(texts::kSystemErrorCode, {static_cast<long long>(code)}) + "\r\n" + systemText;
}

}  // namespace qv
