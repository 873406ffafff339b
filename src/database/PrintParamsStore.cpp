#include "database/PrintParamsStore.h"

#include <string_view>

#include "database/ProductDatabase.h"

namespace qv {

namespace {

constexpr std::size_t kMaxHeaderValue = 255;

// The value of the first line that starts with tag (at most 255 characters
// after it), or "" when no line does.
std::string TaggedValue(const std::vector<std::string>& lines, std::string_view tag)
{
    for (const std::string& line : lines)
        if (line.compare(0, tag.size(), tag) == 0)
            return line.substr(tag.size(), kMaxHeaderValue);
    return {};
}

bool IsBlankOrControl(char c)
{
    return static_cast<unsigned char>(c) <= ' ';
}

// Drops a "/*" comment, then the blanks and control characters around.
std::string WithoutComment(std::string value)
{
    if (std::size_t comment = value.find("/*"); comment != std::string::npos)
        value.erase(comment);
    std::size_t first = 0;
    while (first < value.size() && IsBlankOrControl(value[first]))
        ++first;
    std::size_t last = value.size();
    while (last > first && IsBlankOrControl(value[last - 1]))
        --last;
    return value.substr(first, last - first);
}

}  // namespace

PrintParamsHeader ReadPrintParamsHeader(const std::vector<std::string>& lines,
                                        const std::string& listName)
{
    PrintParamsHeader header;
    header.compat = TaggedValue(lines, "COM:");
    header.f = TaggedValue(lines, "DES:F:");
    header.i = TaggedValue(lines, "DES:I:");
    header.d = TaggedValue(lines, "DES:D:");
    std::string x = TaggedValue(lines, "DES:X:");
    // The fall-backs come before the comments go: a description that is
    // only a comment stays empty.
    if (x.empty())
        x = listName;
    for (std::string* description : {&header.f, &header.i, &header.d})
        if (description->empty())
            *description = x;
    for (std::string* value : {&header.f, &header.i, &header.d, &header.compat})
        *value = WithoutComment(std::move(*value));
    return header;
}

std::string PrintParamsText(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text.append(line).append("\r\n");
    return text;
}

const std::vector<std::string>& PrintParamsStore::PrintParamsFieldDefs()
{
    static const std::vector<std::string> defs = {
        "pname VARCHAR(60) NOT NULL *",
        "d_text VARCHAR(90)",
        "f_text VARCHAR(90)",
        "i_text VARCHAR(90)",
        "compat VARCHAR(30)",
        "print_params BLOB SUB_TYPE 1 SEGMENT SIZE 80",
    };
    return defs;
}

const std::vector<std::string>& PrintParamsStore::PrintImagesFieldDefs()
{
    static const std::vector<std::string> defs = {
        "image_name VARCHAR(30) NOT NULL *",
        "image_data BLOB SUB_TYPE 0 SEGMENT SIZE 1024",
    };
    return defs;
}

PrintParamsStore::PrintParamsStore(ProductDatabase& connection) : connection_(connection)
{
    for (FirebirdQuery* query : {&QueryPrint, &IBSQL1}) {
        query->SetDatabase(&connection.IBDatabase);
        query->SetTransaction(&connection.GlobalTransaction);
    }
    QueryPrint.Unidirectional = true;
    for (TableAccess* manager : {&ManagerPrintParams, &ManagerPrintImages})
        manager->SetDatabaseManager(&connection.DatabaseManager);
    ManagerPrintParams.TableName = "PRT_Params";
    ManagerPrintParams.FieldDefs = PrintParamsFieldDefs();
    ManagerPrintImages.TableName = "PRT_Images";
    ManagerPrintImages.FieldDefs = PrintImagesFieldDefs();
}

template <typename Work>
auto PrintParamsStore::InBracket(Work work)
{
    connection_.BeginTransaction();
    try {
        auto result = work();
        connection_.CommitTransaction();
        return result;
    } catch (...) {
        QueryPrint.Close();
        connection_.RollbackTransaction(std::current_exception());
        throw;  // not reached: RollbackTransaction raises the error again
    }
}

bool PrintParamsStore::PrintParamsExist(const std::string& name)
{
    return InBracket([&] { return ManagerPrintParams.FindPK({SqlValue(name)}); });
}

void PrintParamsStore::UpdatePrintParams(const std::string& name,
                                             const std::vector<std::string>& lines)
{
    InBracket([&] {
        QueryPrint.SetSql({"UPDATE PRT_Params SET print_params=:p0 WHERE", "pname=:p1"});
        QueryPrint.ClearParams();
        QueryPrint.ParamByName("p0") = PrintParamsText(lines);
        QueryPrint.ParamByName("p1") = name;
        QueryPrint.ExecSQL();
        return true;
    });
}

std::string PrintParamsStore::AddPrintParams(const std::string& name,
                                                 const std::vector<std::string>& lines)
{
    return InBracket([&] {
        const PrintParamsHeader header = ReadPrintParamsHeader(lines, name);
        std::vector<std::string> sql;
        ManagerPrintParams.BuildInsertSQL(sql);
        QueryPrint.SetSql(std::move(sql));
        QueryPrint.ClearParams();
        // By position, in the order of the field definitions.
        const SqlValue values[] = {name, header.d, header.f, header.i, header.compat,
                                   PrintParamsText(lines)};
        std::size_t position = 0;
        for (const std::string& def : PrintParamsFieldDefs())
            QueryPrint.ParamByName(ParseFieldDef(def).name) = values[position++];
        QueryPrint.ExecSQL();
        return header.f;
    });
}

}  // namespace qv
