#include "core/ProductTables.h"

#include "core/Text.h"

namespace qv {

const std::array<std::string_view, 11> ProductNames = {
    "", "Telvarin", "Telvarin Ingenieur", "Repertex", "Kalvisto", "PDFDLL",
    "Obrenta", "Margolin", "Sovenza", "Quorvex Finance", "Dravik"};

const std::array<std::string_view, 11> ProductShortNames = {
    "", "TVP", "TVI", "Repertex", "Kalvisto V 3.0", "", "Obrenta", "Margolin", "", "", "Dravik"};

namespace {

struct DatabaseIdentifier {
    std::string_view name;
    ProductKind kind;
};

// Checked after the product names, in this order.
constexpr DatabaseIdentifier kDatabaseIdentifiers[] = {
    {"TVP_PRO", 1}, {"TVP_ING", 2}, {"TV_Repertex", 3}, {"Obrenta", 6}, {"Dravik", 10}};

}  // namespace

ProductKind ProductKindOf(std::string_view name)
{
    if (name.empty())
        return 0;
    for (ProductKind kind = 1; kind <= kProductKindCount; ++kind)
        if (EqualsIgnoreCaseAscii(name, ProductNames[kind]))
            return kind;
    for (const auto& id : kDatabaseIdentifiers)
        if (EqualsIgnoreCaseAscii(name, id.name))
            return id.kind;
    return 0;
}

}  // namespace qv
