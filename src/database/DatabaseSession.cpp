#include "database/DatabaseSession.h"

#include <chrono>
#include <random>
#include <thread>

#include "core/Errors.h"
#include "database/TransactionBracket.h"

namespace qv {

namespace {

// A presence row older than this, by the server's clock, is stale.
constexpr std::int64_t kStaleTicks = Timestamp::kTicksPerDay * 3 / 100;  // 0.03 day

void RealSleep(unsigned ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

unsigned RandomPause()
{
    static std::mt19937 generator{std::random_device{}()};
    return std::uniform_int_distribution<unsigned>(0, 1999)(generator);
}

}  // namespace

DatabaseSession::DatabaseSession(FirebirdTransaction& sharedTransaction)
    : database_(sharedTransaction.Database()),
      sharedTransaction_(sharedTransaction),
      pauseBetweenAttempts_(RealSleep)
{
}

void DatabaseSession::OpenConnection(const ConnectionSettings& settings)
{
    if (database_.Connected())
        throw Error("Already connected!");
    std::vector<std::string> params;
    params.push_back("user_name=" + settings.userName);
    params.push_back("password=" + settings.password);
    if (!settings.role.empty())
        params.push_back("sql_role_name=" + settings.role);
    params.push_back("lc_ctype=ISO8859_1");
    database_.Open(settings.connectionString, std::move(params));
}

void DatabaseSession::BeginTransaction()
{
    sharedTransaction_.EnterBracket();
}

void DatabaseSession::CommitTransaction()
{
    sharedTransaction_.LeaveBracketByCommit();
}

void DatabaseSession::RollbackTransaction(std::exception_ptr error)
{
    LeaveBracketAfterError(sharedTransaction_, error, SilentAbortPolicy::AsError);
}

void DatabaseSession::ReadConnectionControl(std::string& identifier, int& version)
{
    generalQuery_.Close();
    generalQuery_.SetSql({"SELECT sval FROM ConnectionControl WHERE", "id = :p0"});
    InTransactionBracket(sharedTransaction_, generalQuery_, SilentAbortPolicy::AsError, [&] {
        generalQuery_.ParamByName("p0") = 2;
        generalQuery_.Open();
        identifier = generalQuery_.Eof() ? std::string() : generalQuery_.Field(0).AsString();
        generalQuery_.Close();
        generalQuery_.ParamByName("p0") = 3;
        generalQuery_.Open();
        version = generalQuery_.Eof() ? 0 : generalQuery_.Field(0).AsInteger();
        generalQuery_.Close();
    });
}

template <typename Attempt>
void DatabaseSession::WithPresenceAttempts(Attempt attempt) noexcept
{
    for (int i = 0; i < kPresenceAttempts; ++i) {
        try {
            if (i > 0)
                pauseBetweenAttempts_(RandomPause());
            presenceTransaction_.StartTransaction();
            try {
                attempt();
                presenceTransaction_.Commit();
                return;
            } catch (...) {
                presenceQuery_.Close();
                presenceTransaction_.ForceEnd();
                throw;
            }
        } catch (...) {
            // counted as a failed attempt; the next one may succeed
        }
    }
}

void DatabaseSession::ExecPresenceStatement(std::vector<std::string> sql, const SqlValue& p0)
{
    presenceStatement_.SetSql(std::move(sql));
    presenceStatement_.ParamByName("p0") = p0;
    presenceStatement_.ExecSQL();
}

void DatabaseSession::RegisterUser(const std::string& presenceName) noexcept
{
    const std::string key = presenceName.substr(0, kPresenceKeyLength);
    WithPresenceAttempts([&] {
        presenceQuery_.SetSql({"SELECT COUNT(*) FROM Users WHERE", "username = :p0"});
        presenceQuery_.ParamByName("p0") = key;
        presenceQuery_.Open();
        const int n = presenceQuery_.Field(0).AsInteger();
        presenceQuery_.Close();
        if (n != 0)
            ExecPresenceStatement({"UPDATE Users SET lastcheck = 'Now' WHERE", "username = :p0"}, key);
        else
            ExecPresenceStatement({"INSERT INTO Users (username, lastcheck)", "VALUES (:p0, 'Now')"}, key);
        PurgeStaleUsers();
    });
}

void DatabaseSession::PurgeStaleUsers()
{
    presenceQuery_.SetSql({"SELECT * FROM GET_SERVER_TIME"});
    presenceQuery_.Open();
    const Timestamp now = presenceQuery_.Field(0).AsTimestamp();
    presenceQuery_.Close();
    ExecPresenceStatement({"DELETE FROM Users WHERE", "lastcheck < :p0"},
                          Timestamp::FromTicks(now.Ticks() - kStaleTicks));
}

void DatabaseSession::UnregisterUser(const std::string& presenceName) noexcept
{
    const std::string key = presenceName.substr(0, kPresenceKeyLength);
    WithPresenceAttempts(
        [&] { ExecPresenceStatement({"DELETE FROM Users WHERE", "username = :p0"}, key); });
}

}  // namespace qv
