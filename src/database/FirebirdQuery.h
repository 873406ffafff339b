#pragma once
// A SQL statement object: a query that is opened and read forward-only, or a
// statement that is executed. Its text is a list of lines joined by line
// breaks; named parameters (":p0") are bound by name before execution.
// It runs on one transaction, on that transaction's database, and is
// destroyed before the transaction.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "database/FirebirdHandles.h"
#include "database/SqlValue.h"

namespace qv {

class FirebirdTransaction;

class FirebirdQuery {
public:
    // name only serves the query's error messages.
    explicit FirebirdQuery(FirebirdTransaction& transaction, std::string name = {});
    ~FirebirdQuery();
    FirebirdQuery(const FirebirdQuery&) = delete;
    FirebirdQuery& operator=(const FirebirdQuery&) = delete;

    const std::string& Name() const { return name_; }
    FirebirdTransaction& Transaction() const { return transaction_; }

    // Replacing the text closes the query and forgets the prepared statement.
    const std::vector<std::string>& Sql() const { return sql_; }
    void SetSql(std::vector<std::string> lines);

    // The value bound to a named parameter (names are not case-sensitive).
    SqlValue& ParamByName(const std::string& name);
    void ClearParams() { params_.clear(); }

    // Executes a SELECT and reads its first row.
    void Open();
    // Executes a statement that returns no rows.
    void ExecSQL();
    // Ends the cursor; never raises.
    void Close() noexcept;
    bool Active() const { return cursorOpen_; }
    bool Eof() const { return eof_; }
    void Next();

    int FieldCount() const { return static_cast<int>(row_.size()); }
    const SqlValue& Field(int index) const;

private:
    friend class FirebirdDatabase;  // releases the statement when it closes
    // Drops the prepared statement (and its cursor).
    void ReleaseStatement() noexcept;
    struct Buffers;
    void Prepare();
    void BindParams();
    // Binds the parameters and executes the prepared statement.
    void Execute();
    void FetchRow();
    void RequireBound() const;

    FirebirdTransaction& transaction_;
    std::string name_;
    std::vector<std::string> sql_;
    std::map<std::string, SqlValue> params_;
    fb::StatementHandle statement_;
    std::unique_ptr<Buffers> buffers_;
    bool isSelect_ = false;
    bool cursorOpen_ = false;
    bool eof_ = true;
    std::vector<SqlValue> row_;
};

}  // namespace qv
