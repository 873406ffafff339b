#include "database/TableAccess.h"

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

TableAccess::TableAccess(DatabaseSession& session, std::string tableName,
                         std::vector<std::string> fieldDefs)
    : session_(session), tableName_(std::move(tableName)), fieldDefs_(std::move(fieldDefs))
{
}

void TableAccess::BuildInsertSQL(std::vector<std::string>& lines) const
{
    lines.clear();
    lines.push_back("INSERT INTO " + tableName_ + "(");
    std::string values;
    bool any = false;
    for (const auto& line : fieldDefs_) {
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
    for (const auto& line : fieldDefs_) {
        FieldDefinition def = ParseFieldDef(line);
        if (def.isKey)
            names.push_back(def.name);
    }
    keyCount_ = static_cast<int>(names.size());
}

bool TableAccess::FindPK(const std::vector<SqlValue>& keys)
{
    if (!keyQuery_) {
        // A failure after the query was made frees it again, and the next
        // call starts afresh.
        auto query =
            std::make_unique<FirebirdQuery>(session_.SharedTransaction(), tableName_ + "_0000");
        std::vector<std::string> names;
        GetKeyFields(names);
        std::vector<std::string> sql = {"SELECT 'T' FROM RDB$DATABASE WHERE EXISTS", "(",
                                        "SELECT 'T' FROM " + tableName_ + " WHERE"};
        for (size_t i = 0; i < names.size(); ++i) {
            std::string line = i ? "AND " : "";
            line.append(names[i]).append(" = :p").append(std::to_string(i));
            sql.push_back(std::move(line));
        }
        sql.push_back(")");
        query->SetSql(std::move(sql));
        keyQuery_ = std::move(query);
    }
    if (keyQuery_->Active())
        throw Error("Query FPK is active");
    if (static_cast<int>(keys.size()) != keyCount_)
        throw Error("FindPK : count mismatch");
    for (size_t i = 0; i < keys.size(); ++i)
        keyQuery_->ParamByName(std::string("p").append(std::to_string(i))) = keys[i];
    keyQuery_->Open();
    const bool found = !keyQuery_->Eof();
    keyQuery_->Close();
    return found;
}

}  // namespace qv
