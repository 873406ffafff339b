#pragma once
// ProductDatabase: the module through which the update engine works on the
// product's Firebird database. It opens the database only for a known
// client version, the server version that belongs to it, and the identity
// the caller expects; it checks the free space of the database's disk,
// keeps this workstation's presence row, and offers the nested bracket on
// the shared transaction.
//
// Its two timers run on the program's message loop: the wizard starts one
// system timer per entry of Timers() when the module is created and calls
// the handler on every tick; tests call the handlers directly.
#include <cstdint>
#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "core/Errors.h"
#include "database/DatabaseSession.h"
#include "database/FirebirdDatabase.h"
#include "database/FirebirdQuery.h"
#include "database/ServerProperties.h"

namespace qv {

class FirebirdVersionSource;
class UserInteraction;
class Workstation;

struct ModuleTimer {
    const char* name;
    unsigned intervalMs;
    std::function<void()> handler;
};

class ProductDatabase {
public:
    static constexpr const char* kProductUser = "QUORVEX";
    static constexpr const char* kProductPassword = "47130628";
    static constexpr std::int64_t kCriticalFreeSpace = 50'000'000;
    static constexpr std::int64_t kLowFreeSpace = 150'000'000;
    static constexpr unsigned kPresenceRefreshIntervalMs = 1'800'000;  // 30 minutes
    static constexpr unsigned kDiskSpaceCheckIntervalMs = 3'600'000;   // 60 minutes

    // The references must outlive the module.
    ProductDatabase(UserInteraction& ui, FirebirdVersionSource& versions, Workstation& workstation);
    ~ProductDatabase();  // disconnects, ignoring any error
    ProductDatabase(const ProductDatabase&) = delete;
    ProductDatabase& operator=(const ProductDatabase&) = delete;

    // The database, the transaction that every bracket shares, and the
    // session on them; whoever works on the database makes its queries on
    // the shared transaction and lets them go before the module.
    const FirebirdDatabase& Database() const { return database_; }
    FirebirdTransaction& SharedTransaction() { return sharedTransaction_; }
    DatabaseSession& Session() { return session_; }

    // Set once the free space could not be told: no further check runs.
    bool DiskCheckDisabled() const { return diskCheckDisabled_; }

    bool IsConnected() const { return database_.Connected(); }
    void SetDatabaseIdentity(int version, const std::string& identifier,
                             const std::string& description, const std::string& applicationName);
    void SetConnectionParams(const std::string& connectionString, const std::string& userName,
                             const std::string& role, const std::string& password);
    void ConnectAsProduct();
    void Connect();
    void Disconnect() noexcept;

    void BeginTransaction();
    void CommitTransaction();
    void RollbackTransaction(std::exception_ptr error);

    std::string UserPresenceName();
    std::int64_t DatabaseFreeSpace();
    void CheckDiskSpace();

    // The steps of Connect, for whoever needs one of them alone.
    void OpenAndIdentify(std::string& identifier, int& version);
    std::string CheckClientVersion();
    void CheckServerVersion(const std::string& clientVersion);
    // "?" results for the connection forms that name no local or TCP server.
    ServerVersionInfo GetServerVersion();
    // The service manager a connection string leads to; empty for the forms
    // that are not asked.
    static std::string ServiceManagerName(const std::string& connectionString);
    static bool IsKnownClientVersion(const std::string& clientVersion);
    static bool IsKnownVersionPair(const std::string& clientVersion,
                                   const std::string& serverVersion);

    // The timers' handlers: the presence row is refreshed (whether or not a
    // database is open), the free disk space checked.
    void PresenceTimerFired();
    void DiskSpaceTimerFired();
    std::vector<ModuleTimer> Timers();

private:
    void CloseAll() noexcept;

    UserInteraction& ui_;
    FirebirdVersionSource& versions_;
    Workstation& workstation_;

    // Destroyed in the reverse order: queries, then transactions, then the
    // database.
    FirebirdDatabase database_;
    FirebirdTransaction sharedTransaction_{database_};
    DatabaseSession session_{sharedTransaction_};
    FirebirdQuery generalQuery_{sharedTransaction_, "GeneralQuery"};

    ConnectionSettings settings_;
    // The identity the database must show.
    int expectedVersion_ = 0;
    std::string expectedIdentifier_;
    std::string description_;
    std::string applicationName_;
    bool diskCheckDisabled_ = false;
};

}  // namespace qv
