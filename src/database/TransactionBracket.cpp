#include "database/TransactionBracket.h"

#include "core/Errors.h"
#include "core/Texts.h"

namespace qv {

void RaiseAgain(std::exception_ptr error, SilentAbortPolicy silentAbort)
{
    try {
        std::rethrow_exception(error);
    } catch (const FirebirdError& e) {
        throw FirebirdError(e.Message(), e.SqlCode(), e.FirebirdCode());
    } catch (const SilentAbort&) {
        if (silentAbort == SilentAbortPolicy::Keep)
            throw SilentAbort();
        throw Error(std::string());
    } catch (const std::exception& e) {
        throw Error(e.what());
    } catch (...) {
        throw Error(texts::kUnknownError);
    }
}

void LeaveBracketAfterError(FirebirdTransaction& transaction, std::exception_ptr error,
                            SilentAbortPolicy silentAbort)
{
    transaction.LeaveBracketByRollback();
    if (error)
        RaiseAgain(error, silentAbort);
}

}  // namespace qv
