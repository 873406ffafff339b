#include "database/DatabaseSession.h"

#include <algorithm>
#include <chrono>
#include <random>
#include <thread>

#include "core/Errors.h"
#include "core/Texts.h"
#include "platform/UserInteraction.h"

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

void RaiseAgain(std::exception_ptr error, SilentAbortPolicy silentAbort)
{
    try {
        std::rethrow_exception(error);
    } catch (const FirebirdError& e) {
        throw FirebirdError(e.Message(), e.SqlCode(), e.FirebirdCode());
    } catch (const SilentAbort&) {
        if (silentAbort == SilentAbortPolicy::Keep)
            throw SilentAbort();
        throw Error(std::string());
    } catch (const std::exception& e) {
        throw Error(e.what());
    } catch (...) {
        throw Error(texts::kUnknownError);
    }
}

DatabaseSession::DatabaseSession(UserInteraction& ui, std::string name)
    : Component(std::move(name)), ui_(ui)
{
    SleepBetweenAttempts = RealSleep;
    generalQuery_.SetName("GeneralQuery");
    presenceTransaction_.SetName("PresenceTransaction");
    presenceQuery_.SetName("PresenceQuery");
    presenceStatement_.SetName("PresenceStatement");
    presenceQuery_.SetTransaction(&presenceTransaction_);
    presenceStatement_.SetTransaction(&presenceTransaction_);
}

DatabaseSession::~DatabaseSession()
{
    for (FirebirdQuery* q : pool_) {
        // Released on purpose: the query belongs to whoever created it.
        q->RemoveFreeNotification(this);
        ui_.ShowMessageDialog(texts::kDatasetNotReleased, DialogType::Error, DialogButtons::Ok,
                              q->Name());
    }
    pool_.clear();
    SetTransaction(nullptr);
    SetDatabase(nullptr);
}

void DatabaseSession::SetDatabase(FirebirdDatabase* db)
{
    Rewatch(database_, db, this);
    generalQuery_.SetDatabase(db);
    if (transaction_ && db)
        transaction_->SetDefaultDatabase(db);
    presenceTransaction_.SetDefaultDatabase(db);
    presenceQuery_.SetDatabase(db);
    presenceStatement_.SetDatabase(db);
}

void DatabaseSession::SetTransaction(FirebirdTransaction* tr)
{
    Rewatch(transaction_, tr, this);
    if (transaction_ && transaction_->DefaultDatabase())
        SetDatabase(transaction_->DefaultDatabase());
    generalQuery_.SetTransaction(tr);
}

void DatabaseSession::Notification(Component* removed)
{
    if (removed == database_) {
        database_ = nullptr;
        generalQuery_.SetDatabase(nullptr);
        presenceQuery_.SetDatabase(nullptr);
        presenceStatement_.SetDatabase(nullptr);
    }
    if (removed == transaction_) {
        generalQuery_.SetTransaction(nullptr);
        transaction_ = nullptr;
    }
    pool_.erase(std::remove(pool_.begin(), pool_.end(), removed), pool_.end());
}

void DatabaseSession::OpenConnection()
{
    if (!database_)
        throw Error("NIL Database");
    if (database_->Connected())
        throw Error("Already connected!");
    database_->DatabaseName = ConnectionString;
    database_->Params.clear();
    database_->Params.push_back("user_name=" + UserName);
    database_->Params.push_back("password=" + Password);
    if (!Role.empty())
        database_->Params.push_back("sql_role_name=" + Role);
    database_->Params.push_back("lc_ctype=ISO8859_1");
    database_->Open();
}

void DatabaseSession::BeginTransaction()
{
    RequiredTransaction().EnterBracket();
}

void DatabaseSession::CommitTransaction()
{
    RequiredTransaction().LeaveBracketByCommit();
}

void DatabaseSession::RollbackTransaction(std::exception_ptr error)
{
    RequiredTransaction().LeaveBracketByRollback();
    if (error)
        RaiseAgain(error, SilentAbortPolicy::AsError);
}

FirebirdTransaction& DatabaseSession::RequiredTransaction()
{
    if (!transaction_)
        throw Error(Name() + " no transaction");
    return *transaction_;
}

void DatabaseSession::ReadConnectionControl(std::string& identifier, int& version)
{
    generalQuery_.Close();
    generalQuery_.SetSql({"SELECT sval FROM ConnectionControl WHERE", "id = :p0"});
    BeginTransaction();
    try {
        generalQuery_.ParamByName("p0") = 2;
        generalQuery_.Open();
        identifier = generalQuery_.Eof() ? std::string() : generalQuery_.Field(0).AsString();
        generalQuery_.Close();
        generalQuery_.ParamByName("p0") = 3;
        generalQuery_.Open();
        version = generalQuery_.Eof() ? 0 : generalQuery_.Field(0).AsInteger();
        generalQuery_.Close();
        CommitTransaction();
    } catch (...) {
        generalQuery_.Close();
        RollbackTransaction(std::current_exception());
    }
}

template <typename Attempt>
void DatabaseSession::WithPresenceAttempts(Attempt attempt) noexcept
{
    for (int i = 0; i < kPresenceAttempts; ++i) {
        try {
            if (i > 0)
                SleepBetweenAttempts(RandomPause());
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

void DatabaseSession::AddToDatasetPool(FirebirdQuery* query)
{
    if (!query || std::find(pool_.begin(), pool_.end(), query) != pool_.end())
        return;
    query->FreeNotification(this);
    pool_.push_back(query);
}

void DatabaseSession::FreeDataset(std::unique_ptr<FirebirdQuery>& query)
{
    if (!query)
        return;
    if (std::find(pool_.begin(), pool_.end(), query.get()) == pool_.end())
        throw Error("FreeDataset : not found");
    query->Close();
    query.reset();  // its removal notice takes it out of the pool
}

void DatabaseSession::CloseDatasets() noexcept
{
    for (FirebirdQuery* q : std::vector(pool_)) {
        try {
            q->Close();
            if (FirebirdTransaction* t = q->Transaction(); t && t->Active())
                t->Rollback();
        } catch (...) {
            // one query that cannot be closed does not stop the others
        }
    }
}

}  // namespace qv
