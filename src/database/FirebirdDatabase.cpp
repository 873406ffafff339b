#include "database/FirebirdDatabase.h"

#include <algorithm>

#include "core/Errors.h"
#include "core/Text.h"
#include "database/FirebirdQuery.h"

namespace qv {

namespace {

template <typename T>
void Erase(std::vector<T*>& list, T* item)
{
    list.erase(std::remove(list.begin(), list.end(), item), list.end());
}

// The database parameter block for the "name=value" entries.
std::string BuildDpb(const std::vector<std::string>& params)
{
    std::string dpb(1, static_cast<char>(isc_dpb_version1));
    for (const auto& entry : params) {
        size_t eq = entry.find('=');
        std::string name = LowerAscii(entry.substr(0, eq));
        std::string value = eq == std::string::npos ? std::string() : entry.substr(eq + 1);
        int tag;
        if (name == "user_name")
            tag = isc_dpb_user_name;
        else if (name == "password")
            tag = isc_dpb_password;
        else if (name == "sql_role_name")
            tag = isc_dpb_sql_role_name;
        else if (name == "lc_ctype")
            tag = isc_dpb_lc_ctype;
        else
            throw Error("Unknown connection parameter: " + name);
        if (value.size() > 255)
            throw Error("Connection parameter too long: " + name);
        dpb += static_cast<char>(tag);
        dpb += static_cast<char>(value.size());
        dpb += value;
    }
    return dpb;
}

}  // namespace

// ---- FirebirdDatabase -------------------------------------------------------

FirebirdDatabase::~FirebirdDatabase()
{
    ForceClose();
}

void FirebirdDatabase::Open(const std::string& databaseName, std::vector<std::string> params)
{
    if (Connected())
        throw Error("Database already open");
    params_ = std::move(params);
    const fb::FirebirdApi& api = fb::Client();
    std::string dpb = BuildDpb(params_);
    ISC_STATUS_ARRAY status;
    isc_db_handle h = 0;
    api.attach_database(status, static_cast<short>(databaseName.size()), databaseName.c_str(), &h,
                        static_cast<short>(dpb.size()), dpb.data());
    fb::DatabaseHandle owned(h);  // dropped again when the attach failed halfway
    fb::CheckStatus(status);
    handle_ = std::move(owned);
}

void FirebirdDatabase::ForceClose() noexcept
{
    for (FirebirdTransaction* t : transactions_)
        for (FirebirdQuery* q : t->queries_)
            q->ReleaseStatement();
    for (FirebirdTransaction* t : transactions_)
        t->ForceEnd();
    handle_.reset();  // detaches; an error of the server is of no use here
}

// ---- FirebirdTransaction ----------------------------------------------------

FirebirdTransaction::FirebirdTransaction(FirebirdDatabase& database) : database_(database)
{
    database_.transactions_.push_back(this);
}

FirebirdTransaction::~FirebirdTransaction()
{
    ForceEnd();
    Erase(database_.transactions_, this);
}

void FirebirdTransaction::StartTransaction()
{
    if (Active())
        throw Error("Transaction is active");
    if (!database_.Connected())
        throw Error("Database not open");
    const fb::FirebirdApi& api = fb::Client();
    isc_db_handle db = database_.RawHandle();
    // Firebird's default transaction (read-write, snapshot) except that a
    // row another transaction holds is an error at once instead of a wait:
    // an unattended run must not block on a workstation that keeps a row
    // open. Every server version this program accepts knows no-wait; a lock
    // time-out is only known from Firebird 2 on.
    static const char kTransactionParams[] = {isc_tpb_version3, isc_tpb_write,
                                              isc_tpb_concurrency, isc_tpb_nowait};
    // One transaction existence block per database: the client's own layout.
    struct TransactionExistenceBlock {
        isc_db_handle* database;
        int tpbLength;
        const char* tpb;
    } teb{&db, static_cast<int>(sizeof kTransactionParams), kTransactionParams};
    ISC_STATUS_ARRAY status;
    isc_tr_handle h = 0;
    api.start_multiple(status, &h, 1, &teb);
    fb::CheckStatus(status);
    handle_.reset(h);
}

void FirebirdTransaction::Commit()
{
    End(&fb::FirebirdApi::commit_transaction);
}

void FirebirdTransaction::Rollback()
{
    End(&fb::FirebirdApi::rollback_transaction);
}

void FirebirdTransaction::End(EndFunction fb::FirebirdApi::*end)
{
    if (!Active())
        throw Error("Transaction is not active");
    CloseCursors();
    ISC_STATUS_ARRAY status;
    isc_tr_handle h = handle_.get();
    (fb::Client().*end)(status, &h);
    fb::CheckStatus(status);  // still active when the server refused
    handle_.release();
}

void FirebirdTransaction::ForceEnd() noexcept
{
    if (!Active())
        return;
    CloseCursors();
    handle_.reset();  // rolls back, whatever the server says
}

void FirebirdTransaction::EnterBracket()
{
    if (depth_ == 0)
        StartTransaction();
    ++depth_;
}

void FirebirdTransaction::LeaveBracketByCommit()
{
    if (depth_ <= 0)
        throw AssertionFailure("TRANSACTION MANAGEMENT ERROR");
    if (--depth_ > 0)
        return;
    try {
        if (Active())
            Commit();
    } catch (...) {
        // Refused: the work is undone, and the next bracket starts afresh.
        ForceEnd();
        throw;
    }
}

void FirebirdTransaction::LeaveBracketByRollback() noexcept
{
    if (depth_ <= 0 || --depth_ > 0)
        return;
    ForceEnd();
}

void FirebirdTransaction::CloseCursors() noexcept
{
    for (FirebirdQuery* q : queries_)
        q->Close();
}

}  // namespace qv
