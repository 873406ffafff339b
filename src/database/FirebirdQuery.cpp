#include "database/FirebirdQuery.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "core/Errors.h"
#include "core/Text.h"
#include "database/FirebirdDatabase.h"
#include "database/NamedParams.h"

namespace qv {

namespace {

constexpr unsigned short kDialect = 3;

struct SqldaDeleter {
    void operator()(XSQLDA* p) const noexcept { std::free(p); }
};
using SqldaPtr = std::unique_ptr<XSQLDA, SqldaDeleter>;

SqldaPtr MakeSqlda(int count)
{
    if (count < 1)
        count = 1;
    auto* p = static_cast<XSQLDA*>(std::calloc(1, XSQLDA_LENGTH(count)));
    if (!p)
        throw std::bad_alloc();
    p->version = SQLDA_VERSION1;
    p->sqln = static_cast<ISC_SHORT>(count);
    return SqldaPtr(p);
}

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

template <typename T>
T Load(const char* p)
{
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

double Scaled(std::int64_t v, int scale)
{
    double d = static_cast<double>(v);
    for (int i = 0; i < -scale; ++i)
        d /= 10;
    return d;
}

}  // namespace

struct FirebirdQuery::Buffers {
    SqldaPtr in;
    SqldaPtr out;
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

    b->out = MakeSqlda(8);
    api.dsql_prepare(status, &tr, &st, 0, parsed.sql.c_str(), kDialect, b->out.get());
    fb::CheckStatus(status);
    if (b->out->sqld > b->out->sqln) {
        b->out = MakeSqlda(b->out->sqld);
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

    b->in = MakeSqlda(static_cast<int>(b->names.size()));
    api.dsql_describe_bind(status, &st, kDialect, b->in.get());
    fb::CheckStatus(status);
    if (b->in->sqld > b->in->sqln) {
        b->in = MakeSqlda(b->in->sqld);
        api.dsql_describe_bind(status, &st, kDialect, b->in.get());
        fb::CheckStatus(status);
    }
    if (static_cast<size_t>(b->in->sqld) != b->names.size())
        throw Error(Name() + ": parameter count mismatch");
    b->inDescribed.assign(b->in->sqlvar, b->in->sqlvar + b->in->sqld);
    b->inData.resize(b->in->sqld);
    b->inNull.assign(b->in->sqld, 0);

    b->outData.resize(b->out->sqld);
    b->outNull.assign(b->out->sqld, 0);
    for (int i = 0; i < b->out->sqld; ++i) {
        XSQLVAR& v = b->out->sqlvar[i];
        size_t size = v.sqllen + ((v.sqltype & ~1) == SQL_VARYING ? 2 : 0);
        b->outData[i].assign(size ? size : 1, 0);
        v.sqldata = b->outData[i].data();
        v.sqlind = &b->outNull[i];
    }
    statement_ = std::move(owned);
    buffers_ = std::move(b);
}

void FirebirdQuery::BindParams()
{
    const fb::FirebirdApi& api = fb::Client();
    Buffers& b = *buffers_;
    for (int i = 0; i < b.in->sqld; ++i) {
        XSQLVAR& v = b.in->sqlvar[i];
        v = b.inDescribed[i];
        auto found = params_.find(b.names[i]);
        const SqlValue value = found == params_.end() ? SqlValue() : found->second;
        std::vector<char>& data = b.inData[i];
        v.sqlind = &b.inNull[i];
        b.inNull[i] = 0;
        const int described = v.sqltype & ~1;
        if (value.IsNull()) {
            data.assign(v.sqllen + 2 > 8 ? v.sqllen + 2 : 8, 0);
            v.sqltype |= 1;
            b.inNull[i] = -1;
        } else if (described == SQL_BLOB) {
            std::string text = value.AsString();
            ISC_STATUS_ARRAY status;
            isc_db_handle db = transaction_.Database().RawHandle();
            isc_tr_handle tr = transaction_.RawHandle();
            isc_blob_handle h = 0;
            ISC_QUAD id{};
            api.create_blob2(status, &db, &tr, &h, &id, 0, nullptr);
            fb::CheckStatus(status);
            fb::BlobHandle blob(h);
            for (size_t pos = 0; pos < text.size(); pos += 32000) {
                size_t n = std::min<size_t>(32000, text.size() - pos);
                api.put_segment(status, &h, static_cast<unsigned short>(n), text.data() + pos);
                fb::CheckStatus(status);
            }
            api.close_blob(status, &h);
            fb::CheckStatus(status);
            blob.release();
            data.assign(sizeof id, 0);
            std::memcpy(data.data(), &id, sizeof id);
            v.sqltype = SQL_BLOB + 1;
            v.sqllen = sizeof id;
        } else if (value.IsTimestamp()) {
            Timestamp t = value.AsTimestamp();
            ISC_TIMESTAMP ts{t.date, t.time};
            data.assign(sizeof ts, 0);
            std::memcpy(data.data(), &ts, sizeof ts);
            v.sqltype = SQL_TIMESTAMP + 1;
            v.sqllen = sizeof ts;
        } else if (value.IsInteger()) {
            std::int64_t n = value.AsInt64();
            data.assign(sizeof n, 0);
            std::memcpy(data.data(), &n, sizeof n);
            v.sqltype = SQL_INT64 + 1;
            v.sqlscale = 0;
            v.sqllen = sizeof n;
        } else if (value.IsFloat()) {
            double d = value.AsDouble();
            data.assign(sizeof d, 0);
            std::memcpy(data.data(), &d, sizeof d);
            v.sqltype = SQL_DOUBLE + 1;
            v.sqlscale = 0;
            v.sqllen = sizeof d;
        } else {
            std::string text = value.AsString();
            if (text.size() > 32767)
                throw Error(Name() + ": parameter " + b.names[i] + " too long");
            data.assign(text.begin(), text.end());
            data.push_back(0);
            if (described != SQL_TEXT && described != SQL_VARYING)
                v.sqlsubtype = 0;
            v.sqltype = SQL_TEXT + 1;
            v.sqlscale = 0;
            v.sqllen = static_cast<ISC_SHORT>(text.size());
        }
        v.sqldata = data.data();
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
    XSQLDA* out = buffers_->out.get();
    row_.assign(out->sqld, SqlValue());
    for (int i = 0; i < out->sqld; ++i) {
        const XSQLVAR& v = out->sqlvar[i];
        if ((v.sqltype & 1) && *v.sqlind < 0)
            continue;
        const char* p = v.sqldata;
        switch (v.sqltype & ~1) {
        case SQL_TEXT: {
            std::string s(p, v.sqllen);
            while (!s.empty() && s.back() == ' ')
                s.pop_back();
            row_[i] = SqlValue(std::move(s));
            break;
        }
        case SQL_VARYING:
            row_[i] = SqlValue(std::string(p + 2, Load<unsigned short>(p)));
            break;
        case SQL_SHORT:
        case SQL_LONG:
        case SQL_INT64: {
            std::int64_t n = (v.sqltype & ~1) == SQL_SHORT  ? Load<std::int16_t>(p)
                             : (v.sqltype & ~1) == SQL_LONG ? Load<std::int32_t>(p)
                                                            : Load<std::int64_t>(p);
            row_[i] = v.sqlscale == 0 ? SqlValue(n) : SqlValue(Scaled(n, v.sqlscale));
            break;
        }
        case SQL_FLOAT:
            row_[i] = SqlValue(static_cast<double>(Load<float>(p)));
            break;
        case SQL_DOUBLE:
        case SQL_D_FLOAT:
            row_[i] = SqlValue(Load<double>(p));
            break;
        case SQL_TIMESTAMP: {
            auto ts = Load<ISC_TIMESTAMP>(p);
            row_[i] = SqlValue(Timestamp{ts.timestamp_date, ts.timestamp_time});
            break;
        }
        case SQL_TYPE_DATE:
            row_[i] = SqlValue(Timestamp{Load<ISC_DATE>(p), 0});
            break;
        case SQL_TYPE_TIME:
            row_[i] = SqlValue(Timestamp{0, Load<ISC_TIME>(p)});
            break;
        case SQL_BOOLEAN:
            row_[i] = SqlValue(static_cast<std::int64_t>(*p != 0));
            break;
        case SQL_BLOB: {
            ISC_QUAD id = Load<ISC_QUAD>(p);
            isc_db_handle db = transaction_.Database().RawHandle();
            isc_tr_handle tr = transaction_.RawHandle();
            isc_blob_handle h = 0;
            api.open_blob2(status, &db, &tr, &h, &id, 0, nullptr);
            fb::CheckStatus(status);
            fb::BlobHandle blob(h);
            std::string text;
            char chunk[8192];
            for (;;) {
                unsigned short got = 0;
                api.get_segment(status, &h, &got, sizeof chunk, chunk);
                if (status[1] == isc_segstr_eof)
                    break;
                if (status[1] != 0 && status[1] != isc_segment)
                    fb::RaiseStatus(status);
                text.append(chunk, got);
            }
            api.close_blob(status, &h);
            blob.release();
            row_[i] = SqlValue(std::move(text));
            break;
        }
        default:
            throw Error(Name() + ": unsupported column type " + std::to_string(v.sqltype & ~1));
        }
    }
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
