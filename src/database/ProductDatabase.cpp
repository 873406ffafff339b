#include "database/ProductDatabase.h"

#include <algorithm>
#include <iterator>

#include "core/Errors.h"
#include "core/Texts.h"
#include "database/ConnectionString.h"
#include "database/TransactionBracket.h"
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
    : ui_(ui), versions_(versions), workstation_(workstation)
{
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
    expectedVersion_ = version;
    expectedIdentifier_ = identifier;
    description_ = description;
    applicationName_ = applicationName;
}

void ProductDatabase::SetConnectionParams(const std::string& connectionString,
                                          const std::string& userName, const std::string& role,
                                          const std::string& password)
{
    Disconnect();
    settings_.connectionString = connectionString;
    settings_.userName = userName;
    settings_.role = role;
    settings_.password = password;
}

void ProductDatabase::ConnectAsProduct()
{
    Disconnect();
    settings_.userName = kProductUser;
    settings_.role.clear();
    settings_.password = kProductPassword;
    Connect();
    CheckDiskSpace();
}

void ProductDatabase::Connect()
{
    std::string identifier;
    int version = 0;
    OpenAndIdentify(identifier, version);
    if (identifier != expectedIdentifier_ || version != expectedVersion_) {
        Disconnect();
        throw Error(std::string(texts::kDatabaseIncompatible) + "\r\n\r\n" + texts::kDatabaseLabel +
                    identifier + "\r\n" + texts::kDatabaseVersionLabel + std::to_string(version));
    }
    CheckDiskSpace();
    session_.RegisterUser(UserPresenceName());
}

void ProductDatabase::OpenAndIdentify(std::string& identifier, int& version)
{
    Disconnect();
    const std::string client = CheckClientVersion();
    if (settings_.connectionString.empty())
        throw Error(texts::kDatabaseNameMissing);
    try {
        session_.OpenConnection(settings_);
    } catch (...) {
        Disconnect();  // a refused attach leaves nothing open
        throw;
    }
    CheckServerVersion(client);
    session_.ReadConnectionControl(identifier, version);
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
    const std::string service = ServiceManagerName(settings_.connectionString);
    if (service.empty())
        return {};
    return versions_.ServerVersion(service, kProductUser, kProductPassword);
}

std::int64_t ProductDatabase::DatabaseFreeSpace()
{
    const std::string& cs = settings_.connectionString;
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

    return InTransactionBracket(sharedTransaction_, generalQuery_, SilentAbortPolicy::Keep, [&] {
        generalQuery_.SetSql({"SELECT GetFreeDiskSpace('" + literal + "') FROM rdb$database"});
        generalQuery_.Open();
        const std::int64_t free = generalQuery_.Field(0).AsInt64();
        generalQuery_.Close();
        return free;
    });
}

void ProductDatabase::CheckDiskSpace()
{
    if (diskCheckDisabled_ || !IsConnected())
        return;
    const std::int64_t free = DatabaseFreeSpace();
    const std::string amount = "\r\n" + std::to_string(free / 1'000'000) + texts::kMegabytesSuffix;
    if (free <= 0) {
        diskCheckDisabled_ = true;
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
    return workstation_.UserName() + " (" + place + ") - " + applicationName_;
}

void ProductDatabase::Disconnect() noexcept
{
    if (IsConnected()) {
        try {
            session_.UnregisterUser(UserPresenceName());
        } catch (...) {
            // the row goes stale and the next client purges it
        }
    }
    CloseAll();
}

void ProductDatabase::CloseAll() noexcept
{
    // Ends every transaction and statement on the database (the shared
    // transaction, the presence transaction and every query made on them),
    // then detaches.
    database_.ForceClose();
    sharedTransaction_.ResetBracket();
}

void ProductDatabase::BeginTransaction()
{
    sharedTransaction_.EnterBracket();
}

void ProductDatabase::CommitTransaction()
{
    sharedTransaction_.LeaveBracketByCommit();
}

void ProductDatabase::RollbackTransaction(std::exception_ptr error)
{
    LeaveBracketAfterError(sharedTransaction_, error, SilentAbortPolicy::Keep);
}

void ProductDatabase::PresenceTimerFired()
{
    session_.RegisterUser(UserPresenceName());
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
