#include "database/PrintParamsStore.h"

#include <string_view>

#include "database/ProductDatabase.h"
#include "database/TransactionBracket.h"

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

PrintParamsStore::PrintParamsStore(ProductDatabase& connection)
    : connection_(connection),
      printParams_(connection.Session(), "PRT_Params", PrintParamsFieldDefs()),
      statement_(connection.SharedTransaction(), "QueryPrint")
{
}

template <typename Work>
auto PrintParamsStore::InBracket(Work work)
{
    return InTransactionBracket(connection_.SharedTransaction(), statement_,
                                SilentAbortPolicy::Keep, work);
}

bool PrintParamsStore::PrintParamsExist(const std::string& name)
{
    return InBracket([&] { return printParams_.FindPK({SqlValue(name)}); });
}

void PrintParamsStore::UpdatePrintParams(const std::string& name,
                                         const std::vector<std::string>& lines)
{
    InBracket([&] {
        statement_.SetSql({"UPDATE PRT_Params SET print_params=:p0 WHERE", "pname=:p1"});
        statement_.ClearParams();
        statement_.ParamByName("p0") = PrintParamsText(lines);
        statement_.ParamByName("p1") = name;
        statement_.ExecSQL();
    });
}

std::string PrintParamsStore::AddPrintParams(const std::string& name,
                                             const std::vector<std::string>& lines)
{
    return InBracket([&] {
        const PrintParamsHeader header = ReadPrintParamsHeader(lines, name);
        std::vector<std::string> sql;
        printParams_.BuildInsertSQL(sql);
        statement_.SetSql(std::move(sql));
        statement_.ClearParams();
        // By position, in the order of the field definitions.
        const SqlValue values[] = {name, header.d, header.f, header.i, header.compat,
                                   PrintParamsText(lines)};
        std::size_t position = 0;
        for (const std::string& def : PrintParamsFieldDefs())
            statement_.ParamByName(ParseFieldDef(def).name) = values[position++];
        statement_.ExecSQL();
        return header.f;
    });
}

}  // namespace qv
