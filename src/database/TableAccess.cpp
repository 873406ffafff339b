#include "database/TableAccess.h"

#include <cstdio>

#include "core/Errors.h"
#include "database/DatabaseSession.h"
#include "database/FirebirdQuery.h"

namespace qv {

namespace {
bool IsBlankOrControl(char c)
{
    return static_cast<unsigned char>(c) <= ' ';
}
}  // namespace

FieldDefinition ParseFieldDef(std::string_view line)
{
    while (!line.empty() && IsBlankOrControl(line.front()))
        line.remove_prefix(1);
    while (!line.empty() && IsBlankOrControl(line.back()))
        line.remove_suffix(1);
    std::string text(line);
    FieldDefinition def;
    if (size_t star = text.find('*'); star != std::string::npos) {
        def.isKey = true;
        text.erase(star, 1);
    }
    if (size_t hash = text.find('#'); hash != std::string::npos) {
        def.excludedFromInsert = true;
        text.erase(hash, 1);
    }
    size_t blank = text.find(' ');
    def.name = text.substr(0, blank);
    def.declaration = blank == std::string::npos ? std::string() : text.substr(blank + 1);
    return def;
}

TableAccess::~TableAccess()
{
    fpkQuery_.reset();  // its removal notice takes it out of the manager's pool
    SetDatabaseManager(nullptr);
}

void TableAccess::SetDatabaseManager(DatabaseSession* manager)
{
    Rewatch(manager_, manager, this);
}

void TableAccess::Notification(Component* removed)
{
    if (removed == manager_)
        manager_ = nullptr;
}

void TableAccess::BuildInsertSQL(std::vector<std::string>& lines) const
{
    lines.clear();
    lines.push_back("INSERT INTO " + TableName + "(");
    std::string values;
    bool any = false;
    for (const auto& line : FieldDefs) {
        FieldDefinition def = ParseFieldDef(line);
        if (def.excludedFromInsert)
            continue;
        if (any) {
            lines.back() += ",";
            values += ", ";
        }
        lines.push_back(def.name);
        values += ":" + def.name;
        any = true;
    }
    lines.back() += ")";
    lines.push_back("VALUES (" + values + ")");
}

void TableAccess::GetKeyFields(std::vector<std::string>& names)
{
    names.clear();
    for (const auto& line : FieldDefs) {
        FieldDefinition def = ParseFieldDef(line);
        if (def.isKey)
            names.push_back(def.name);
    }
    keyCount_ = static_cast<int>(names.size());
}

std::unique_ptr<FirebirdQuery> TableAccess::CreateDataset(FirebirdTransaction* transaction)
{
    if (!manager_ || !manager_->Database())
        throw Error("no database! (" + std::to_string(3) + ")");
    auto query = std::make_unique<FirebirdQuery>();
    query->SetDatabase(manager_->Database());
    query->SetTransaction(transaction);
    manager_->AddToDatasetPool(query.get());
    char number[16];
    std::snprintf(number, sizeof number, "%.4d", datasetCounter_);
    query->SetName(TableName + "_" + number);
    ++datasetCounter_;
    return query;
}

bool TableAccess::FindPK(const std::vector<SqlValue>& keys)
{
    if (!fpkQuery_) {
        // A failure after the query was made frees it again (its removal
        // notice takes it out of the pool), and the next call starts afresh.
        std::unique_ptr<FirebirdQuery> query =
            CreateDataset(manager_ ? manager_->Transaction() : nullptr);
        query->Unidirectional = true;
        std::vector<std::string> names;
        GetKeyFields(names);
        std::vector<std::string> sql = {"SELECT 'T' FROM RDB$DATABASE WHERE EXISTS", "(",
                                        "SELECT 'T' FROM " + TableName + " WHERE"};
        for (size_t i = 0; i < names.size(); ++i) {
            std::string line = i ? "AND " : "";
            line.append(names[i]).append(" = :p").append(std::to_string(i));
            sql.push_back(std::move(line));
        }
        sql.push_back(")");
        query->SetSql(std::move(sql));
        fpkQuery_ = std::move(query);
    }
    if (fpkQuery_->Active())
        throw Error("Query FPK is active");
    if (static_cast<int>(keys.size()) != keyCount_)
        throw Error("FindPK : count mismatch");
    for (size_t i = 0; i < keys.size(); ++i)
        fpkQuery_->ParamByName(std::string("p").append(std::to_string(i))) = keys[i];
    fpkQuery_->Open();
    const bool found = !fpkQuery_->Eof();
    fpkQuery_->Close();
    return found;
}

}  // namespace qv
