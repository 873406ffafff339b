#pragma once
// The database connection object and the transaction object. Each owns its
// Firebird handle; the database knows the transactions and queries bound to
// it, so that closing it ends them first and no handle outlives its
// attachment.
#include <string>
#include <vector>

#include "core/Errors.h"
#include "database/Component.h"
#include "database/FirebirdHandles.h"

namespace qv {

class FirebirdQuery;
class FirebirdTransaction;

// A bracket left more often than it was entered: a programming error.
class AssertionFailure : public Error {
public:
    using Error::Error;
};

class FirebirdDatabase : public Component {
public:
    explicit FirebirdDatabase(std::string name = "IBDatabase") : Component(std::move(name)) {}
    ~FirebirdDatabase() override;

    std::string DatabaseName;
    // Connection parameters, one "name=value" per entry: user_name, password,
    // sql_role_name, lc_ctype. Nothing else is sent.
    std::vector<std::string> Params;
    FirebirdTransaction* DefaultTransaction = nullptr;

    bool Connected() const { return handle_.valid(); }
    // Attaches; Firebird errors reach the caller unchanged.
    void Open();
    // Ends every transaction and statement on it, then detaches, whatever
    // the server says. Never raises.
    void ForceClose() noexcept;

    // The attachment, for statements and transactions; 0 when closed.
    isc_db_handle RawHandle() const { return handle_.get(); }

    // Used by the transaction and query objects that bind to it.
    void Attach(FirebirdTransaction* t);
    void Detach(FirebirdTransaction* t);
    void Attach(FirebirdQuery* q);
    void Detach(FirebirdQuery* q);

private:
    fb::DatabaseHandle handle_;
    std::vector<FirebirdTransaction*> transactions_;
    std::vector<FirebirdQuery*> queries_;
};

class FirebirdTransaction : public Component {
public:
    explicit FirebirdTransaction(std::string name = {}) : Component(std::move(name)) {}
    ~FirebirdTransaction() override;

    FirebirdDatabase* DefaultDatabase() const { return database_; }
    void SetDefaultDatabase(FirebirdDatabase* db);

    // Transaction parameters; empty means Firebird's default behaviour.
    std::vector<std::string> Params;

    // The depth of the nested bracket that everyone working on this
    // transaction shares (the managers' and the connection module's).
    int TransactionDepth = 0;

    // The nested bracket itself, one rule for everyone who brackets on this
    // transaction. Entering at depth 0 starts the transaction.
    void EnterBracket();
    // Leaving by commit: the outermost level commits (when the transaction
    // is active) and empties Params. At depth 0 it raises AssertionFailure
    // "TRANSACTION MANAGEMENT ERROR" and changes nothing. A commit the server
    // refuses rolls the transaction back before the error goes on, so the
    // bracket is closed either way: depth 0, nothing active.
    void LeaveBracketByCommit();
    // Leaving by rollback: the outermost level rolls back whatever the
    // server says and empties Params. At depth 0 nothing happens, so the
    // handler of a failed commit may call it too. Never raises.
    void LeaveBracketByRollback() noexcept;

    bool Active() const { return handle_.valid(); }
    void StartTransaction();
    void Commit();
    void Rollback();
    // Rolls back and drops the handle whatever the server says.
    void ForceEnd() noexcept;

    isc_tr_handle RawHandle() const { return handle_.get(); }

    void Attach(FirebirdQuery* q);
    void Detach(FirebirdQuery* q);

protected:
    void Notification(Component* removed) override;

private:
    // Commits or rolls back with the client's function of that name.
    using EndFunction = decltype(fb::FirebirdApi::commit_transaction);
    void End(EndFunction fb::FirebirdApi::*end);
    void CloseCursors() noexcept;
    FirebirdDatabase* database_ = nullptr;
    fb::TransactionHandle handle_;
    std::vector<FirebirdQuery*> queries_;
};

}  // namespace qv
