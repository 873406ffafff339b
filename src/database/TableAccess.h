#pragma once
// TableAccess: one table of the product database described by its
// field-definition lines ("pname VARCHAR(60) NOT NULL *"): "*" marks a key
// field, "#" a column that INSERT statements leave out. It writes the
// table's INSERT statement and answers whether a key exists.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "database/Component.h"
#include "database/FirebirdQuery.h"
#include "database/SqlValue.h"

namespace qv {

class FirebirdTransaction;
class DatabaseSession;

struct FieldDefinition {
    std::string name;
    std::string declaration;  // the rest of the line, not interpreted
    bool isKey = false;
    bool excludedFromInsert = false;
};

FieldDefinition ParseFieldDef(std::string_view line);

class TableAccess : public Component {
public:
    explicit TableAccess(std::string name = {}) : Component(std::move(name)) {}
    ~TableAccess() override;

    std::vector<std::string> FieldDefs;
    std::string TableName;
    DatabaseSession* DatabaseManager() const { return manager_; }
    void SetDatabaseManager(DatabaseSession* manager);

    void BuildInsertSQL(std::vector<std::string>& lines) const;
    // True when a row with exactly these key values exists. Reads inside
    // whatever the caller opened on the shared transaction.
    bool FindPK(const std::vector<SqlValue>& keys);
    void GetKeyFields(std::vector<std::string>& names);
    // A read-only query on the manager's database, registered in its
    // DatasetPool until it is destroyed. The caller owns it.
    std::unique_ptr<FirebirdQuery> CreateDataset(FirebirdTransaction* transaction);

    int KeyCount() const { return keyCount_; }

protected:
    void Notification(Component* removed) override;

private:
    DatabaseSession* manager_ = nullptr;
    int datasetCounter_ = 0;
    std::unique_ptr<FirebirdQuery> fpkQuery_;  // built by the first FindPK
    int keyCount_ = 0;
};

}  // namespace qv
