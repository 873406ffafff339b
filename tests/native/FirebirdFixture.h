#pragma once
// Reaching the test server (scripts/env/firebird-server.sh): the fixture
// databases under their Windows-style aliases, the product account, and
// the two fixture tables that steer the server's answers.
#include <string>
#include <vector>

#include "database/FirebirdDatabase.h"
#include "database/FirebirdQuery.h"
#include "support/DatabaseDoubles.h"

namespace qv::test {

inline const std::string kTvp = R"(localhost:C:\QUORVEX\DB\TVP.FDB)";
inline const std::string kBare = R"(localhost:C:\QUORVEX\DB\BARE.FDB)";
inline const std::string kUser = "QUORVEX";
inline const std::string kPassword = "47130628";

// Runs statements on a database in their own connection and transaction.
class FixtureSql {
public:
    explicit FixtureSql(const std::string& database = kTvp)
    {
        db_.Open(database, {"user_name=" + kUser, "password=" + kPassword, "lc_ctype=ISO8859_1"});
    }
    void Exec(const std::string& sql, std::vector<SqlValue> params = {})
    {
        tr_.StartTransaction();
        q_.SetSql({sql});
        for (size_t i = 0; i < params.size(); ++i)
            q_.ParamByName("p" + std::to_string(i)) = params[i];
        q_.ExecSQL();
        tr_.Commit();
    }
    // The first column of every row.
    std::vector<SqlValue> Column(const std::string& sql, std::vector<SqlValue> params = {})
    {
        tr_.StartTransaction();
        q_.SetSql({sql});
        for (size_t i = 0; i < params.size(); ++i)
            q_.ParamByName("p" + std::to_string(i)) = params[i];
        std::vector<SqlValue> values;
        for (q_.Open(); !q_.Eof(); q_.Next())
            values.push_back(q_.Field(0));
        q_.Close();
        tr_.Commit();
        return values;
    }
    void SetFreeSpace(long long bytes)
    {
        Exec("UPDATE FixtureFreeSpace SET free_bytes = :p0", {SqlValue(bytes)});
    }
    void SetServerTime(const SqlValue& time)
    {
        Exec("UPDATE FixtureServerTime SET fixed_time = :p0", {time});
    }
    std::vector<std::string> Users()
    {
        std::vector<std::string> names;
        for (const auto& v : Column("SELECT username FROM Users ORDER BY username"))
            names.push_back(v.AsString());
        return names;
    }
    // A clean start: no presence rows, plenty of space, the real clock.
    void Reset()
    {
        Exec("DELETE FROM Users");
        Exec("DELETE FROM PRT_Params");
        SetFreeSpace(1'000'000'000);
        SetServerTime(SqlValue());
    }

private:
    FirebirdDatabase db_;
    FirebirdTransaction tr_{db_};
    FirebirdQuery q_{tr_, "FixtureQuery"};
};

}  // namespace qv::test
