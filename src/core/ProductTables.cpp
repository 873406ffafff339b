#include "core/ProductTables.h"

#include "core/Text.h"

namespace qv {

const ProductKindTable<std::string_view> ProductNames = {
    {"", "Telvarin", "Telvarin Ingenieur", "Repertex", "Kalvisto", "PDFDLL", "Obrenta",
     "Margolin", "Sovenza", "Quorvex Finance", "Dravik"}};

const ProductKindTable<std::string_view> ProductShortNames = {
    {"", "TVP", "TVI", "Repertex", "Kalvisto V 3.0", "", "Obrenta", "Margolin", "", "",
     "Dravik"}};

namespace {

struct DatabaseIdentifier {
    std::string_view name;
    ProductKind kind;
};

// Checked after the product names, in this order.
constexpr DatabaseIdentifier kDatabaseIdentifiers[] = {
    {"TVP_PRO", ProductKind::Telvarin},
    {"TVP_ING", ProductKind::TelvarinIngenieur},
    {"TV_Repertex", ProductKind::Repertex},
    {"Obrenta", ProductKind::Obrenta},
    {"Dravik", ProductKind::Dravik}};

}  // namespace

ProductKind ProductKindOf(std::string_view name)
{
    if (name.empty())
        return ProductKind::None;
    for (ProductKind kind : kProductKinds)
        if (EqualsIgnoreCaseAscii(name, ProductNames[kind]))
            return kind;
    for (const auto& id : kDatabaseIdentifiers)
        if (EqualsIgnoreCaseAscii(name, id.name))
            return id.kind;
    return ProductKind::None;
}

}  // namespace qv
