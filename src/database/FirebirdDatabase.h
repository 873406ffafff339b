#pragma once
// The database connection object and the transaction object. Each owns its
// Firebird handle; the database knows the transactions and queries bound to
// it, so that closing it ends them first and no handle outlives its
// attachment.
#include <string>
#include <vector>

#include "database/Component.h"
#include "database/FirebirdHandles.h"

namespace qv {

class FirebirdQuery;
class FirebirdTransaction;

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
