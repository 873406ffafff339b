#pragma once
// DatabaseSession: the session on one product database. It opens the
// connection with the settings it is given, brackets work on the shared
// transaction (the depth travels with the transaction object), reads the
// database's identity, and keeps this workstation's presence row in Users
// through a transaction of its own.
#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "database/FirebirdDatabase.h"
#include "database/FirebirdQuery.h"

namespace qv {

// What opening the connection sends.
struct ConnectionSettings {
    std::string connectionString;  // the Firebird database name (local path or server:path)
    std::string userName;
    std::string password;
    std::string role;  // empty: none
};

class DatabaseSession {
public:
    // Works on sharedTransaction and its database, which must outlive it.
    explicit DatabaseSession(FirebirdTransaction& sharedTransaction);
    DatabaseSession(const DatabaseSession&) = delete;
    DatabaseSession& operator=(const DatabaseSession&) = delete;

    FirebirdDatabase& Database() const { return database_; }
    FirebirdTransaction& SharedTransaction() const { return sharedTransaction_; }

    // Opens the database with the settings (user_name, password,
    // sql_role_name only with a role, lc_ctype=ISO8859_1). Raises "Already
    // connected!" on an open database.
    void OpenConnection(const ConnectionSettings& settings);

    // The nested bracket on the shared transaction. On an error:
    // RollbackTransaction(current error), which raises it again (a silent
    // abort as a general error); with no error nothing is raised.
    void BeginTransaction();
    void CommitTransaction();
    void RollbackTransaction(std::exception_ptr error);

    // Row 2 (identifier) and row 3 (structure version) of ConnectionControl.
    void ReadConnectionControl(std::string& identifier, int& version);

    // Presence in Users; up to five attempts, never raise.
    void RegisterUser(const std::string& presenceName) noexcept;
    void UnregisterUser(const std::string& presenceName) noexcept;

    // The pause between two presence attempts (0 to 1999 ms); tests replace
    // it so that they neither wait nor depend on chance.
    void SetPauseBetweenAttempts(std::function<void(unsigned milliseconds)> pause)
    {
        pauseBetweenAttempts_ = std::move(pause);
    }

private:
    static constexpr int kPresenceAttempts = 5;
    static constexpr size_t kPresenceKeyLength = 60;

    void PurgeStaleUsers();
    // The presence statement with its one parameter p0, executed.
    void ExecPresenceStatement(std::vector<std::string> sql, const SqlValue& p0);
    template <typename Attempt>
    void WithPresenceAttempts(Attempt attempt) noexcept;

    FirebirdDatabase& database_;
    FirebirdTransaction& sharedTransaction_;
    FirebirdQuery generalQuery_{sharedTransaction_, "GeneralQuery"};
    FirebirdTransaction presenceTransaction_{database_};
    FirebirdQuery presenceQuery_{presenceTransaction_, "PresenceQuery"};
    FirebirdQuery presenceStatement_{presenceTransaction_, "PresenceStatement"};
    std::function<void(unsigned milliseconds)> pauseBetweenAttempts_;
};

}  // namespace qv
