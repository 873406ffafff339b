#pragma once
// The database connection and its transactions. Each owns its Firebird
// handle. A transaction is made for one database and a query for one
// transaction, and each is destroyed before what it was made for; the
// database knows its transactions and each transaction its queries, so
// that closing the database ends them first and no handle outlives its
// attachment.
#include <string>
#include <vector>

#include "core/Errors.h"
#include "database/FirebirdHandles.h"

namespace qv {

class FirebirdQuery;
class FirebirdTransaction;

// A bracket left more often than it was entered: a programming error.
class AssertionFailure : public Error {
public:
    using Error::Error;
};

class FirebirdDatabase {
public:
    FirebirdDatabase() = default;
    ~FirebirdDatabase();
    FirebirdDatabase(const FirebirdDatabase&) = delete;
    FirebirdDatabase& operator=(const FirebirdDatabase&) = delete;

    bool Connected() const { return handle_.valid(); }
    // Attaches to databaseName with the connection parameters, one
    // "name=value" per entry: user_name, password, sql_role_name, lc_ctype;
    // nothing else is sent. Firebird errors reach the caller unchanged.
    void Open(const std::string& databaseName, std::vector<std::string> params);
    // The parameters of the last Open.
    const std::vector<std::string>& Params() const { return params_; }
    // Ends every transaction and statement on it, then detaches, whatever
    // the server says. Never raises.
    void ForceClose() noexcept;

    // The attachment, for statements and transactions; 0 when closed.
    isc_db_handle RawHandle() const { return handle_.get(); }

private:
    friend class FirebirdTransaction;  // joins and leaves transactions_
    fb::DatabaseHandle handle_;
    std::vector<std::string> params_;
    std::vector<FirebirdTransaction*> transactions_;
};

class FirebirdTransaction {
public:
    // Firebird's default transaction behaviour (read-write, snapshot), but
    // without waiting on locks: a statement that meets a row another
    // transaction holds fails at once. database must outlive it.
    explicit FirebirdTransaction(FirebirdDatabase& database);
    ~FirebirdTransaction();
    FirebirdTransaction(const FirebirdTransaction&) = delete;
    FirebirdTransaction& operator=(const FirebirdTransaction&) = delete;

    FirebirdDatabase& Database() const { return database_; }

    // The nested bracket, one rule for everyone who brackets on this
    // transaction: its depth travels with the transaction. Entering at
    // depth 0 starts the transaction.
    int BracketDepth() const { return depth_; }
    void EnterBracket();
    // Leaving by commit: the outermost level commits (when the transaction
    // is active). At depth 0 it raises AssertionFailure "TRANSACTION
    // MANAGEMENT ERROR" and changes nothing. A commit the server refuses
    // rolls the transaction back before the error goes on, so the bracket
    // is closed either way: depth 0, nothing active.
    void LeaveBracketByCommit();
    // Leaving by rollback: the outermost level rolls back whatever the
    // server says. At depth 0 nothing happens, so the handler of a failed
    // commit may call it too. Never raises.
    void LeaveBracketByRollback() noexcept;
    // Forgets every open level (the database was closed under them).
    void ResetBracket() noexcept { depth_ = 0; }

    bool Active() const { return handle_.valid(); }
    void StartTransaction();
    void Commit();
    void Rollback();
    // Rolls back and drops the handle whatever the server says.
    void ForceEnd() noexcept;

    isc_tr_handle RawHandle() const { return handle_.get(); }

private:
    friend class FirebirdDatabase;  // releases the statements of queries_
    friend class FirebirdQuery;     // joins and leaves queries_
    // Commits or rolls back with the client's function of that name.
    using EndFunction = decltype(fb::FirebirdApi::commit_transaction);
    void End(EndFunction fb::FirebirdApi::*end);
    void CloseCursors() noexcept;

    FirebirdDatabase& database_;
    fb::TransactionHandle handle_;
    int depth_ = 0;
    std::vector<FirebirdQuery*> queries_;
};

}  // namespace qv
