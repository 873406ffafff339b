#pragma once
// The product family: its ten kinds, their names and the lookup from a name
// (or a database identifier) to a kind.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace qv {

// One byte, as packages and the engine keep it. None is a name that is
// no product of the family.
enum class ProductKind : std::uint8_t {
    None = 0,
    Telvarin = 1,           // the main product
    TelvarinIngenieur = 2,  // its engineering edition
    Repertex = 3,           // the address book
    Kalvisto = 4,
    PdfLibrary = 5,         // "PDFDLL"
    Obrenta = 6,
    Margolin = 7,
    Sovenza = 8,            // a suite versioned by a marker file
    QuorvexFinance = 9,     // the other suite
    Dravik = 10,
};

// The kind's number, for messages and for tables kept in kind order.
constexpr int KindNumber(ProductKind kind) { return static_cast<int>(kind); }

// The ten kinds of the family, in kind order (None excluded).
inline constexpr std::array<ProductKind, 10> kProductKinds = {
    ProductKind::Telvarin, ProductKind::TelvarinIngenieur, ProductKind::Repertex,
    ProductKind::Kalvisto, ProductKind::PdfLibrary,        ProductKind::Obrenta,
    ProductKind::Margolin, ProductKind::Sovenza,           ProductKind::QuorvexFinance,
    ProductKind::Dravik};

// A constant table with one entry per kind, None included, read by kind.
template <typename T>
struct ProductKindTable {
    std::array<T, 11> entries;
    constexpr const T& operator[](ProductKind kind) const
    {
        return entries[static_cast<std::size_t>(kind)];
    }
};

// The name that packages and the registry records use; "" for None.
extern const ProductKindTable<std::string_view> ProductNames;
// The product's own folder inside the products root (kinds 1 and 2 use it).
extern const ProductKindTable<std::string_view> ProductShortNames;

// The kind of a product name or of a product's database identifier; the
// ASCII letters compare without regard to case, nothing else is folded and
// nothing is trimmed. None for anything else.
ProductKind ProductKindOf(std::string_view name);

}  // namespace qv
