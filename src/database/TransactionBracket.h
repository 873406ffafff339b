#pragma once
// The nested transaction bracket as every site uses it: enter; the work;
// leave by commit; and, when the work or the commit raises, leave by
// rollback and raise the error again as a new error of its kind.
#include <exception>
#include <type_traits>

#include "database/FirebirdDatabase.h"
#include "database/FirebirdQuery.h"

namespace qv {

// What raising again makes of a silent abort: the connection module keeps
// it silent; the database session makes it a general error like any other.
enum class SilentAbortPolicy { Keep, AsError };

// Raises error again as a new error of its kind: a Firebird error keeps its
// codes and message, a silent abort follows the policy, and anything else
// becomes a qv::Error with the same message.
[[noreturn]] void RaiseAgain(std::exception_ptr error, SilentAbortPolicy silentAbort);

// Leaves one level by rollback; then raises error again, if there is one.
void LeaveBracketAfterError(FirebirdTransaction& transaction, std::exception_ptr error,
                            SilentAbortPolicy silentAbort);

// work() inside one level of transaction's bracket, on query: committed at
// the outermost level when it succeeds; when it (or the commit) fails, the
// query is closed, the level left by rollback and the error raised again.
// Returns what work returns.
template <typename Work>
auto InTransactionBracket(FirebirdTransaction& transaction, FirebirdQuery& query,
                          SilentAbortPolicy silentAbort, Work work) -> decltype(work())
{
    transaction.EnterBracket();
    try {
        if constexpr (std::is_void_v<decltype(work())>) {
            work();
            transaction.LeaveBracketByCommit();
            return;
        } else {
            auto result = work();
            transaction.LeaveBracketByCommit();
            return result;
        }
    } catch (...) {
        query.Close();
        transaction.LeaveBracketByRollback();
        RaiseAgain(std::current_exception(), silentAbort);
    }
}

}  // namespace qv
