#include "database/ProductDatabase.h"

#include <algorithm>
#include <iterator>

#include "core/Errors.h"
#include "core/Texts.h"
#include "database/ConnectionString.h"
#include "database/VersionSource.h"
#include "database/Workstation.h"
#include "platform/UserInteraction.h"

namespace qv {

namespace {

const char* const kKnownClientVersions[] = {"WI-V1.0.0.794", "WI-V1.0.2.908", "WI-V6.3.0.4290",
                                            "WI-V6.3.2.4731"};

struct VersionPair {
    const char* client;
    const char* server;
};
const VersionPair kKnownVersionPairs[] = {
    {"WI-V1.0.0.794", "WI-V6.2.794 Firebird 1.0"},
    {"WI-V1.0.2.908", "WI-V6.2.908 Firebird 1.0"},
    {"WI-V6.3.0.4290", "WI-V1.5.0.4290 Firebird 1.5"},
    {"WI-V6.3.0.4290", "WI-V1.5.1.4481 Firebird 1.5"},
    {"WI-V6.3.2.4731", "WI-V1.5.2.4731 Firebird 1.5"},
};

}  // namespace

ProductDatabase::ProductDatabase(UserInteraction& ui, FirebirdVersionSource& versions,
                                 Workstation& workstation)
    : IBDatabase("IBDatabase"),
      GlobalTransaction("GlobalTransaction"),
      DatabaseManager(ui, "DatabaseManager"),
      GeneralQuery("GeneralQuery"),
      ui_(ui),
      versions_(versions),
      workstation_(workstation)
{
    IBDatabase.DefaultTransaction = &GlobalTransaction;
    GlobalTransaction.SetDefaultDatabase(&IBDatabase);
    DatabaseManager.SetDatabase(&IBDatabase);
    DatabaseManager.SetTransaction(&GlobalTransaction);
    DatabaseManager.DBVersion = 0;
    GeneralQuery.SetDatabase(&IBDatabase);
    GeneralQuery.SetTransaction(&GlobalTransaction);
    IBDatabase.Params.clear();  // only what OpenConnection puts there is sent
}

ProductDatabase::~ProductDatabase()
{
    if (IsConnected())
        Disconnect();
}

void ProductDatabase::SetDatabaseIdentity(int version, const std::string& identifier,
                                          const std::string& description,
                                          const std::string& applicationName)
{
    DatabaseManager.DBVersion = version;
    DatabaseManager.DBIdentifier = identifier;
    DatabaseManager.DBDescription = description;
    ApplicationName = applicationName;
}

void ProductDatabase::SetConnectionParams(const std::string& connectionString,
                                          const std::string& userName, const std::string& role,
                                          const std::string& password)
{
    Disconnect();
    DatabaseManager.ConnectionString = connectionString;
    DatabaseManager.UserName = userName;
    DatabaseManager.Role = role;
    DatabaseManager.Password = password;
}

void ProductDatabase::ConnectAsProduct()
{
    Disconnect();
    DatabaseManager.UserName = kProductUser;
    DatabaseManager.Role.clear();
    DatabaseManager.Password = kProductPassword;
    Connect();
    CheckDiskSpace();
}

void ProductDatabase::Connect()
{
    std::string identifier;
    int version = 0;
    OpenAndIdentify(identifier, version);
    if (identifier != DatabaseManager.DBIdentifier || version != DatabaseManager.DBVersion) {
        Disconnect();
        throw Error(std::string(texts::kDatabaseIncompatible) + "\r\n\r\n" + texts::kDatabaseLabel +
                    identifier + "\r\n" + texts::kDatabaseVersionLabel + std::to_string(version));
    }
    CheckDiskSpace();
    DatabaseManager.RegisterUser(UserPresenceName());
}

void ProductDatabase::OpenAndIdentify(std::string& identifier, int& version)
{
    Disconnect();
    const std::string client = CheckClientVersion();
    IBDatabase.Params.clear();
    if (DatabaseManager.ConnectionString.empty())
        throw Error(texts::kDatabaseNameMissing);
    try {
        DatabaseManager.OpenConnection();
    } catch (...) {
        Disconnect();  // a refused attach leaves nothing open
        throw;
    }
    CheckServerVersion(client);
    DatabaseManager.ReadConnectionControl(identifier, version);
}

bool ProductDatabase::IsKnownClientVersion(const std::string& clientVersion)
{
    return std::any_of(std::begin(kKnownClientVersions), std::end(kKnownClientVersions),
                       [&](const char* v) { return clientVersion == v; });
}

bool ProductDatabase::IsKnownVersionPair(const std::string& clientVersion,
                                         const std::string& serverVersion)
{
    return std::any_of(std::begin(kKnownVersionPairs), std::end(kKnownVersionPairs),
                       [&](const VersionPair& p) {
                           return clientVersion == p.client && serverVersion == p.server;
                       });
}

std::string ProductDatabase::CheckClientVersion()
{
    const std::string version = versions_.ClientVersion();
    if (!IsKnownClientVersion(version))
        throw Error(std::string(texts::kClientVersionUnknown) + "\r\n\r\n" + version);
    return version;
}

void ProductDatabase::CheckServerVersion(const std::string& clientVersion)
{
    const ServerVersionInfo server = GetServerVersion();
    if (!IsKnownVersionPair(clientVersion, server.serverVersion)) {
        Disconnect();
        throw Error(std::string(texts::kClientServerMismatch) + "\r\n\r\n" + texts::kClientLabel +
                    clientVersion + "\r\n" + texts::kServerLabel + server.serverVersion);
    }
}

std::string ProductDatabase::ServiceManagerName(const std::string& connectionString)
{
    switch (ConnectionKindOf(connectionString)) {
    case ConnectionKind::Local:
        return "service_mgr";
    case ConnectionKind::Tcp: {
        std::string server, path;
        SplitConnectionString(connectionString, server, path);
        return server + ":service_mgr";
    }
    default:
        return {};
    }
}

ServerVersionInfo ProductDatabase::GetServerVersion()
{
    const std::string service = ServiceManagerName(DatabaseManager.ConnectionString);
    if (service.empty())
        return {};
    return versions_.ServerVersion(service, kProductUser, kProductPassword);
}

std::int64_t ProductDatabase::DatabaseFreeSpace()
{
    const std::string& cs = DatabaseManager.ConnectionString;
    const size_t colon = cs.find(':');
    char letter;
    if (colon == 1)
        letter = cs[0];
    else if (colon == std::string::npos || colon + 1 >= cs.size())
        throw Error("0312181326");
    else
        letter = cs[colon + 1];
    // The letter goes into a literal: a quote is doubled, not trusted.
    const std::string literal = letter == '\'' ? "''" : std::string(1, letter);

    BeginTransaction();
    try {
        GeneralQuery.SetSql({"SELECT GetFreeDiskSpace('" + literal + "') FROM rdb$database"});
        GeneralQuery.Open();
        const std::int64_t free = GeneralQuery.Field(0).AsInt64();
        GeneralQuery.Close();
        CommitTransaction();
        return free;
    } catch (...) {
        GeneralQuery.Close();
        RollbackTransaction(std::current_exception());
    }
    return 0;  // not reached: RollbackTransaction raises
}

void ProductDatabase::CheckDiskSpace()
{
    if (DiskCheckDisabled || !IsConnected())
        return;
    const std::int64_t free = DatabaseFreeSpace();
    const std::string amount = "\r\n" + std::to_string(free / 1'000'000) + texts::kMegabytesSuffix;
    if (free <= 0) {
        DiskCheckDisabled = true;
        ui_.ShowWarningMessage(texts::kDiskSpaceUnknown);
    } else if (free < kCriticalFreeSpace) {
        Disconnect();
        ui_.ShowErrorMessage(texts::kDiskSpaceCritical + amount);
    } else if (free < kLowFreeSpace) {
        ui_.ShowWarningMessage(texts::kDiskSpaceLow + amount);
    }
}

std::string ProductDatabase::UserPresenceName()
{
    const std::string place = workstation_.IsRemoteSession()
                                  ? std::to_string(workstation_.SessionIdOfCurrentProcess())
                                  : workstation_.ComputerName();
    return workstation_.UserName() + " (" + place + ") - " + ApplicationName;
}

void ProductDatabase::Disconnect() noexcept
{
    if (IsConnected()) {
        try {
            DatabaseManager.UnregisterUser(UserPresenceName());
        } catch (...) {
            // the row goes stale and the next client purges it
        }
    }
    CloseAll();
}

void ProductDatabase::CloseAll() noexcept
{
    DatabaseManager.CloseDatasets();
    IBDatabase.ForceClose();
    GeneralQuery.Close();
    if (GlobalTransaction.Active())
        GlobalTransaction.ForceEnd();
    GlobalTransaction.TransactionDepth = 0;
}

void ProductDatabase::BeginTransaction()
{
    GlobalTransaction.EnterBracket();
}

void ProductDatabase::CommitTransaction()
{
    GlobalTransaction.LeaveBracketByCommit();
}

void ProductDatabase::RollbackTransaction(std::exception_ptr error)
{
    GlobalTransaction.LeaveBracketByRollback();
    if (error)
        RaiseAgain(error, SilentAbortPolicy::Keep);
}

void ProductDatabase::PresenceTimerFired()
{
    DatabaseManager.RegisterUser(UserPresenceName());
}

void ProductDatabase::DiskSpaceTimerFired()
{
    CheckDiskSpace();
}

std::vector<ModuleTimer> ProductDatabase::Timers()
{
    return {{"PresenceTimer", kPresenceRefreshIntervalMs, [this] { PresenceTimerFired(); }},
            {"DiskSpaceTimer", kDiskSpaceCheckIntervalMs, [this] { DiskSpaceTimerFired(); }}};
}

}  // namespace qv
