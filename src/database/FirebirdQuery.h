#pragma once
// A SQL statement object: a query that is opened and read forward-only, or a
// statement that is executed. Its text is a list of lines joined by line
// breaks; named parameters (":p0") are bound by name before execution.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "database/Component.h"
#include "database/FirebirdHandles.h"
#include "database/SqlValue.h"

namespace qv {

class FirebirdDatabase;
class FirebirdTransaction;

class FirebirdQuery : public Component {
public:
    explicit FirebirdQuery(std::string name = {});
    ~FirebirdQuery() override;

    FirebirdDatabase* Database() const { return database_; }
    void SetDatabase(FirebirdDatabase* db);
    FirebirdTransaction* Transaction() const { return transaction_; }
    void SetTransaction(FirebirdTransaction* tr);

    // Replacing the text closes the query and forgets the prepared statement.
    const std::vector<std::string>& Sql() const { return sql_; }
    void SetSql(std::vector<std::string> lines);

    // The value bound to a named parameter (names are not case-sensitive).
    SqlValue& ParamByName(const std::string& name);
    void ClearParams() { params_.clear(); }

    // Forward-only reading is the only kind there is; the flag is kept for
    // the callers that ask for it.
    bool Unidirectional = false;

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

    // Told by the database or transaction that its handle goes away.
    void ReleaseStatement() noexcept;

protected:
    void Notification(Component* removed) override;

private:
    struct Buffers;
    void Prepare();
    void BindParams();
    // Binds the parameters and executes the prepared statement.
    void Execute();
    void FetchRow();
    void RequireBound() const;

    FirebirdDatabase* database_ = nullptr;
    FirebirdTransaction* transaction_ = nullptr;
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
