#pragma once
// PrintParamsStore: the print-parameter lists of the product database,
// one row per list in PRT_Params, and the three operations the import needs
// (does a list exist, replace its text, add it). Every operation brackets
// its own statement on the connection module's shared transaction and
// commits its own work; on an error it rolls back and passes the error on.
//
// Neither PRT_Params nor PRT_Images is created or altered here: the field
// definitions only serve to generate statements.
#include <string>
#include <vector>

#include "database/FirebirdQuery.h"
#include "database/TableAccess.h"

namespace qv {

class ProductDatabase;

// The header of a ".lst" file: the compatibility marker and the three
// descriptions.
struct PrintParamsHeader {
    std::string compat;
    std::string d;
    std::string f;
    std::string i;

    friend bool operator==(const PrintParamsHeader&, const PrintParamsHeader&) = default;
};

// Reads the header lines of a list. The first line that starts with a tag
// wins ("COM:", "DES:F:", "DES:I:", "DES:D:", "DES:X:", case-sensitive, at
// the very start); a value is at most 255 characters. An empty X becomes
// listName, an empty F, I or D becomes X; then every value loses a "/*"
// comment and its surrounding blanks and control characters. So a
// description that holds only a comment ends up empty, without fall-back.
PrintParamsHeader ReadPrintParamsHeader(const std::vector<std::string>& lines,
                                        const std::string& listName);

// A list's text as stored in print_params: every line followed by CR LF.
std::string PrintParamsText(const std::vector<std::string>& lines);

class PrintParamsStore {
public:
    // Works through the connection's session and shared transaction; the
    // connection must outlive the store.
    explicit PrintParamsStore(ProductDatabase& connection);
    PrintParamsStore(const PrintParamsStore&) = delete;
    PrintParamsStore& operator=(const PrintParamsStore&) = delete;

    // True when PRT_Params has a row whose pname equals name (the database's
    // equality: case-sensitive).
    bool PrintParamsExist(const std::string& name);
    // Replaces print_params of that row by the lines' text; the other
    // columns keep their values.
    void UpdatePrintParams(const std::string& name, const std::vector<std::string>& lines);
    // Inserts a row built from the lines' header; returns the f_text stored.
    // A header value longer than its column is refused by the database (the
    // statement is rolled back), not shortened.
    std::string AddPrintParams(const std::string& name, const std::vector<std::string>& lines);

    static const std::vector<std::string>& PrintParamsFieldDefs();

private:
    // work() inside the connection's bracket: committed on success, rolled
    // back (and the error raised again) on failure.
    template <typename Work>
    auto InBracket(Work work);

    ProductDatabase& connection_;
    TableAccess printParams_;
    // The UPDATE and INSERT statements run through it.
    FirebirdQuery statement_;
};

}  // namespace qv
