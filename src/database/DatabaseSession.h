#pragma once
// DatabaseSession: the session on one product database. It holds the
// connection settings and the expected identity, opens the connection,
// brackets work on the shared transaction (the depth travels with the
// transaction object), reads the database's identity, keeps this
// workstation's presence row in Users, and knows every query the table
// managers made for it (the DatasetPool).
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "database/Component.h"
#include "database/FirebirdDatabase.h"
#include "database/FirebirdQuery.h"

namespace qv {

class UserInteraction;

class DatabaseSession : public Component {
public:
    explicit DatabaseSession(UserInteraction& ui, std::string name = "DatabaseManager");
    // Reports every query still in the pool, one box each; they stay alive.
    ~DatabaseSession() override;

    FirebirdDatabase* Database() const { return database_; }
    void SetDatabase(FirebirdDatabase* db);
    std::string UserName;
    std::string Password;
    std::string ConnectionString;
    std::string Role;
    FirebirdTransaction* Transaction() const { return transaction_; }
    void SetTransaction(FirebirdTransaction* tr);
    int DBVersion = 0;
    std::string DBIdentifier;
    std::string DBDescription;

    void OpenConnection();

    // The nested bracket on the shared transaction (FirebirdTransaction's
    // rule, shared with the connection module). On an error:
    // RollbackTransaction(current error), which raises it again; with no
    // error nothing is raised.
    void BeginTransaction();
    void CommitTransaction();
    void RollbackTransaction(std::exception_ptr error);

    // Row 2 (identifier) and row 3 (structure version) of ConnectionControl.
    void ReadConnectionControl(std::string& identifier, int& version);

    // Presence in Users; up to five attempts, never raise.
    void RegisterUser(const std::string& presenceName) noexcept;
    void UnregisterUser(const std::string& presenceName) noexcept;

    // The queries made for this manager; not owned (whoever created one
    // owns it), each listed until it is destroyed.
    const std::vector<FirebirdQuery*>& DatasetPool() const { return pool_; }
    void AddToDatasetPool(FirebirdQuery* query);
    // Closes and destroys a query of the pool; nothing for an empty one.
    // Raises "FreeDataset : not found" (query left as it was) for a query
    // that is not in the pool.
    void FreeDataset(std::unique_ptr<FirebirdQuery>& query);
    void CloseDatasets() noexcept;

    FirebirdTransaction& PresenceTransaction() { return presenceTransaction_; }

    // The pause between two presence attempts (0 to 1999 ms); tests replace
    // it so that they neither wait nor depend on chance.
    std::function<void(unsigned milliseconds)> SleepBetweenAttempts;

protected:
    void Notification(Component* removed) override;

private:
    static constexpr int kPresenceAttempts = 5;
    static constexpr size_t kPresenceKeyLength = 60;

    // The shared transaction; raises "<name> no transaction" without one.
    FirebirdTransaction& RequiredTransaction();
    void PurgeStaleUsers();
    // The presence statement with its one parameter p0, executed.
    void ExecPresenceStatement(std::vector<std::string> sql, const SqlValue& p0);
    template <typename Attempt>
    void WithPresenceAttempts(Attempt attempt) noexcept;

    UserInteraction& ui_;
    FirebirdDatabase* database_ = nullptr;
    FirebirdTransaction* transaction_ = nullptr;
    FirebirdQuery generalQuery_;
    FirebirdTransaction presenceTransaction_;
    FirebirdQuery presenceQuery_;
    FirebirdQuery presenceStatement_;
    std::vector<FirebirdQuery*> pool_;
};

// What RaiseAgain makes of a silent abort: the connection module's bracket
// keeps it silent; the manager's makes it a general error like any other.
enum class SilentAbortPolicy { Keep, AsError };

// Raises error again as a new error of its kind: a Firebird error keeps its
// codes and message, a silent abort follows the policy, and anything else
// becomes a qv::Error with the same message.
[[noreturn]] void RaiseAgain(std::exception_ptr error, SilentAbortPolicy silentAbort);

}  // namespace qv
