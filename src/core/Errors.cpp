#include "core/Errors.h"

#include <new>

#include "core/Format.h"
#include "core/Texts.h"

namespace qv {

std::string SystemErrorMessage(unsigned long code, const std::string& systemText)
{
    if (code == 0)
        return texts::kSystemCallFailed;
    return Format(texts::kSystemErrorCode, {static_cast<long long>(code)}) + "\r\n" + systemText;
}

std::string CurrentErrorMessage()
{
    try {
        throw;
    } catch (const Error& e) {
        return e.Message();
    } catch (const std::bad_alloc&) {
        return texts::kOutOfMemory;
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return texts::kUnknownError;
    }
}

}  // namespace qv
