#include "database/FirebirdQuery.h"

#include <algorithm>

#include "core/Errors.h"
#include "core/Text.h"
#include "database/FirebirdDatabase.h"
#include "database/NamedParams.h"
#include "database/SqlDescriptors.h"

namespace qv {

namespace {

constexpr unsigned short kDialect = 3;

std::string JoinLines(const std::vector<std::string>& lines)
{
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i)
            text += "\r\n";
        text += lines[i];
    }
    return text;
}

}  // namespace

struct FirebirdQuery::Buffers {
    fb::SqldaPtr in;
    fb::SqldaPtr out;
    std::vector<XSQLVAR> inDescribed;  // parameter types as the server gave them
    std::vector<std::vector<char>> inData;
    std::vector<ISC_SHORT> inNull;
    std::vector<std::vector<char>> outData;
    std::vector<ISC_SHORT> outNull;
    std::vector<std::string> names;
};

FirebirdQuery::FirebirdQuery(FirebirdTransaction& transaction, std::string name)
    : transaction_(transaction), name_(std::move(name))
{
    transaction_.queries_.push_back(this);
}

FirebirdQuery::~FirebirdQuery()
{
    ReleaseStatement();
    auto& queries = transaction_.queries_;
    queries.erase(std::remove(queries.begin(), queries.end(), this), queries.end());
}

void FirebirdQuery::SetSql(std::vector<std::string> lines)
{
    ReleaseStatement();
    sql_ = std::move(lines);
}

SqlValue& FirebirdQuery::ParamByName(const std::string& name)
{
    return params_[UpperAscii(name)];
}

void FirebirdQuery::RequireBound() const
{
    if (!transaction_.Database().Connected())
        throw Error("Database not open");
    if (!transaction_.Active())
        throw Error("Transaction not active");
}

void FirebirdQuery::Prepare()
{
    RequireBound();
    if (statement_)
        return;
    const fb::FirebirdApi& api = fb::Client();
    ParsedStatement parsed = ParseNamedParams(JoinLines(sql_));
    auto b = std::make_unique<Buffers>();
    b->names = std::move(parsed.names);

    ISC_STATUS_ARRAY status;
    isc_db_handle db = transaction_.Database().RawHandle();
    isc_tr_handle tr = transaction_.RawHandle();
    isc_stmt_handle st = 0;
    api.dsql_allocate_statement(status, &db, &st);
    fb::CheckStatus(status);
    fb::StatementHandle owned(st);

    b->out = fb::MakeSqlda(8);
    api.dsql_prepare(status, &tr, &st, 0, parsed.sql.c_str(), kDialect, b->out.get());
    fb::CheckStatus(status);
    if (b->out->sqld > b->out->sqln) {
        b->out = fb::MakeSqlda(b->out->sqld);
        api.dsql_describe(status, &st, kDialect, b->out.get());
        fb::CheckStatus(status);
    }

    const char item = isc_info_sql_stmt_type;
    char info[16] = {};
    api.dsql_sql_info(status, &st, 1, &item, sizeof info, info);
    fb::CheckStatus(status);
    int type = 0;
    if (info[0] == isc_info_sql_stmt_type) {
        short len = static_cast<short>(api.vax_integer(info + 1, 2));
        type = static_cast<int>(api.vax_integer(info + 3, len));
    }
    isSelect_ = type == isc_info_sql_stmt_select || type == isc_info_sql_stmt_select_for_upd;

    b->in = fb::MakeSqlda(static_cast<int>(b->names.size()));
    api.dsql_describe_bind(status, &st, kDialect, b->in.get());
    fb::CheckStatus(status);
    if (b->in->sqld > b->in->sqln) {
        b->in = fb::MakeSqlda(b->in->sqld);
        api.dsql_describe_bind(status, &st, kDialect, b->in.get());
        fb::CheckStatus(status);
    }
    if (static_cast<size_t>(b->in->sqld) != b->names.size())
        throw Error(Name() + ": parameter count mismatch");
    b->inDescribed.assign(b->in->sqlvar, b->in->sqlvar + b->in->sqld);
    b->inData.resize(b->in->sqld);
    b->inNull.assign(b->in->sqld, 0);

    fb::AllocateColumns(*b->out, b->outData, b->outNull);
    statement_ = std::move(owned);
    buffers_ = std::move(b);
}

void FirebirdQuery::BindParams()
{
    Buffers& b = *buffers_;
    const fb::BlobPlace blobs{transaction_.Database().RawHandle(), transaction_.RawHandle()};
    for (int i = 0; i < b.in->sqld; ++i) {
        XSQLVAR& v = b.in->sqlvar[i];
        v = b.inDescribed[i];
        auto found = params_.find(b.names[i]);
        const SqlValue value = found == params_.end() ? SqlValue() : found->second;
        fb::BindParameter(v, value, b.inData[i], b.inNull[i], blobs, Name(), b.names[i]);
    }
}

void FirebirdQuery::Execute()
{
    BindParams();
    ISC_STATUS_ARRAY status;
    isc_tr_handle tr = transaction_.RawHandle();
    isc_stmt_handle st = statement_.get();
    fb::Client().dsql_execute(status, &tr, &st, kDialect, buffers_->in.get());
    fb::CheckStatus(status);
}

void FirebirdQuery::Open()
{
    Close();
    Prepare();
    if (!isSelect_)
        throw Error(Name() + ": the statement returns no rows");
    Execute();
    cursorOpen_ = true;
    eof_ = false;
    try {
        FetchRow();
    } catch (...) {
        Close();
        throw;
    }
}

void FirebirdQuery::ExecSQL()
{
    Close();
    Prepare();
    Execute();
    if (isSelect_) {
        cursorOpen_ = true;
        Close();
    }
}

void FirebirdQuery::Next()
{
    if (!cursorOpen_)
        throw Error(Name() + ": query is not open");
    if (!eof_)
        FetchRow();
}

void FirebirdQuery::FetchRow()
{
    const fb::FirebirdApi& api = fb::Client();
    ISC_STATUS_ARRAY status;
    isc_stmt_handle st = statement_.get();
    ISC_STATUS rc = api.dsql_fetch(status, &st, kDialect, buffers_->out.get());
    if (rc == 100) {
        eof_ = true;
        row_.assign(row_.size(), SqlValue());
        return;
    }
    fb::CheckStatus(status);
    const XSQLDA* out = buffers_->out.get();
    const fb::BlobPlace blobs{transaction_.Database().RawHandle(), transaction_.RawHandle()};
    row_.assign(out->sqld, SqlValue());
    for (int i = 0; i < out->sqld; ++i)
        row_[i] = fb::ReadColumn(out->sqlvar[i], blobs, Name());
}

void FirebirdQuery::Close() noexcept
{
    if (!cursorOpen_)
        return;
    cursorOpen_ = false;
    eof_ = true;
    if (auto api = fb::LoadedClient(); api && statement_) {
        ISC_STATUS_ARRAY status;
        isc_stmt_handle st = statement_.get();
        api->dsql_free_statement(status, &st, DSQL_close);
    }
}

void FirebirdQuery::ReleaseStatement() noexcept
{
    Close();
    statement_.reset();
    buffers_.reset();
    row_.clear();
}

const SqlValue& FirebirdQuery::Field(int index) const
{
    if (index < 0 || index >= FieldCount())
        throw Error(Name() + ": field index out of range");
    return row_[index];
}

}  // namespace qv
