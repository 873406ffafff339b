#pragma once
// TableAccess: one table of the product database described by its
// field-definition lines ("pname VARCHAR(60) NOT NULL *"): "*" marks a key
// field, "#" a column that INSERT statements leave out. It writes the
// table's INSERT statement and answers whether a key exists.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "database/FirebirdQuery.h"
#include "database/SqlValue.h"

namespace qv {

class DatabaseSession;

struct FieldDefinition {
    std::string name;
    std::string declaration;  // the rest of the line, not interpreted
    bool isKey = false;
    bool excludedFromInsert = false;
};

FieldDefinition ParseFieldDef(std::string_view line);

class TableAccess {
public:
    // Reads through session's shared transaction; session must outlive it.
    TableAccess(DatabaseSession& session, std::string tableName,
                std::vector<std::string> fieldDefs);
    TableAccess(const TableAccess&) = delete;
    TableAccess& operator=(const TableAccess&) = delete;

    void BuildInsertSQL(std::vector<std::string>& lines) const;
    // True when a row with exactly these key values exists. Reads inside
    // whatever the caller opened on the shared transaction.
    bool FindPK(const std::vector<SqlValue>& keys);
    void GetKeyFields(std::vector<std::string>& names);
    int KeyCount() const { return keyCount_; }

    // The existence query, named after the table ("PRT_Params_0000"), made
    // by the first FindPK; nullptr before.
    FirebirdQuery* KeyQuery() { return keyQuery_.get(); }

private:
    DatabaseSession& session_;
    std::string tableName_;
    std::vector<std::string> fieldDefs_;
    std::unique_ptr<FirebirdQuery> keyQuery_;
    int keyCount_ = 0;
};

}  // namespace qv
