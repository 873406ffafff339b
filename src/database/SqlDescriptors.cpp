#include "database/SqlDescriptors.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

#include "core/Errors.h"
#include "database/FirebirdApi.h"
#include "database/FirebirdHandles.h"

namespace qv::fb {

namespace {

template <typename T>
T Load(const char* p)
{
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

template <typename T>
void Store(std::vector<char>& data, const T& v)
{
    data.assign(sizeof v, 0);
    std::memcpy(data.data(), &v, sizeof v);
}

double Scaled(std::int64_t v, int scale)
{
    double d = static_cast<double>(v);
    for (int i = 0; i < -scale; ++i)
        d /= 10;
    return d;
}

ISC_QUAD WriteTextBlob(const std::string& text, const BlobPlace& place)
{
    const FirebirdApi& api = Client();
    ISC_STATUS_ARRAY status;
    isc_db_handle db = place.database;
    isc_tr_handle tr = place.transaction;
    isc_blob_handle h = 0;
    ISC_QUAD id{};
    api.create_blob2(status, &db, &tr, &h, &id, 0, nullptr);
    CheckStatus(status);
    BlobHandle blob(h);
    for (size_t pos = 0; pos < text.size(); pos += 32000) {
        size_t n = std::min<size_t>(32000, text.size() - pos);
        api.put_segment(status, &h, static_cast<unsigned short>(n), text.data() + pos);
        CheckStatus(status);
    }
    api.close_blob(status, &h);
    CheckStatus(status);
    blob.release();
    return id;
}

std::string ReadTextBlob(ISC_QUAD id, const BlobPlace& place)
{
    const FirebirdApi& api = Client();
    ISC_STATUS_ARRAY status;
    isc_db_handle db = place.database;
    isc_tr_handle tr = place.transaction;
    isc_blob_handle h = 0;
    api.open_blob2(status, &db, &tr, &h, &id, 0, nullptr);
    CheckStatus(status);
    BlobHandle blob(h);
    std::string text;
    char chunk[8192];
    for (;;) {
        unsigned short got = 0;
        api.get_segment(status, &h, &got, sizeof chunk, chunk);
        if (status[1] == isc_segstr_eof)
            break;
        if (status[1] != 0 && status[1] != isc_segment)
            RaiseStatus(status);
        text.append(chunk, got);
    }
    api.close_blob(status, &h);
    blob.release();
    return text;
}

}  // namespace

void SqldaDeleter::operator()(XSQLDA* p) const noexcept
{
    std::free(p);
}

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

void BindParameter(XSQLVAR& v, const SqlValue& value, std::vector<char>& data,
                   ISC_SHORT& nullFlag, const BlobPlace& blobs, const std::string& statementName,
                   const std::string& parameterName)
{
    v.sqlind = &nullFlag;
    nullFlag = 0;
    const int described = v.sqltype & ~1;
    if (value.IsNull()) {
        data.assign(v.sqllen + 2 > 8 ? v.sqllen + 2 : 8, 0);
        v.sqltype |= 1;
        nullFlag = -1;
    } else if (described == SQL_BLOB) {
        Store(data, WriteTextBlob(value.AsString(), blobs));
        v.sqltype = SQL_BLOB + 1;
        v.sqllen = sizeof(ISC_QUAD);
    } else if (value.IsTimestamp()) {
        Timestamp t = value.AsTimestamp();
        Store(data, ISC_TIMESTAMP{t.date, t.time});
        v.sqltype = SQL_TIMESTAMP + 1;
        v.sqllen = sizeof(ISC_TIMESTAMP);
    } else if (value.IsInteger()) {
        Store(data, value.AsInt64());
        v.sqltype = SQL_INT64 + 1;
        v.sqlscale = 0;
        v.sqllen = sizeof(std::int64_t);
    } else if (value.IsFloat()) {
        Store(data, value.AsDouble());
        v.sqltype = SQL_DOUBLE + 1;
        v.sqlscale = 0;
        v.sqllen = sizeof(double);
    } else {
        std::string text = value.AsString();
        if (text.size() > 32767)
            throw Error(statementName + ": parameter " + parameterName + " too long");
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

void AllocateColumns(XSQLDA& out, std::vector<std::vector<char>>& data,
                     std::vector<ISC_SHORT>& nullFlags)
{
    data.resize(out.sqld);
    nullFlags.assign(out.sqld, 0);
    for (int i = 0; i < out.sqld; ++i) {
        XSQLVAR& v = out.sqlvar[i];
        size_t size = v.sqllen + ((v.sqltype & ~1) == SQL_VARYING ? 2 : 0);
        data[i].assign(size ? size : 1, 0);
        v.sqldata = data[i].data();
        v.sqlind = &nullFlags[i];
    }
}

SqlValue ReadColumn(const XSQLVAR& v, const BlobPlace& blobs, const std::string& statementName)
{
    if ((v.sqltype & 1) && *v.sqlind < 0)
        return SqlValue();
    const char* p = v.sqldata;
    switch (v.sqltype & ~1) {
    case SQL_TEXT: {
        std::string s(p, v.sqllen);
        while (!s.empty() && s.back() == ' ')
            s.pop_back();
        return SqlValue(std::move(s));
    }
    case SQL_VARYING:
        return SqlValue(std::string(p + 2, Load<unsigned short>(p)));
    case SQL_SHORT:
    case SQL_LONG:
    case SQL_INT64: {
        std::int64_t n = (v.sqltype & ~1) == SQL_SHORT  ? Load<std::int16_t>(p)
                         : (v.sqltype & ~1) == SQL_LONG ? Load<std::int32_t>(p)
                                                        : Load<std::int64_t>(p);
        return v.sqlscale == 0 ? SqlValue(n) : SqlValue(Scaled(n, v.sqlscale));
    }
    case SQL_FLOAT:
        return SqlValue(static_cast<double>(Load<float>(p)));
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
        return SqlValue(Load<double>(p));
    case SQL_TIMESTAMP: {
        auto ts = Load<ISC_TIMESTAMP>(p);
        return SqlValue(Timestamp{ts.timestamp_date, ts.timestamp_time});
    }
    case SQL_TYPE_DATE:
        return SqlValue(Timestamp{Load<ISC_DATE>(p), 0});
    case SQL_TYPE_TIME:
        return SqlValue(Timestamp{0, Load<ISC_TIME>(p)});
    case SQL_BOOLEAN:
        return SqlValue(static_cast<std::int64_t>(*p != 0));
    case SQL_BLOB:
        return SqlValue(ReadTextBlob(Load<ISC_QUAD>(p), blobs));
    default:
        throw Error(statementName + ": unsupported column type " + std::to_string(v.sqltype & ~1));
    }
}

}  // namespace qv::fb
