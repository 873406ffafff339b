#pragma once
// The product family: its ten kinds and, for each, the one descriptor that
// every layer reads (name, folder, registry record, database identity,
// packaged files, print lists), and the lookup from a name (or a database
// identifier) to a kind.
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

// How a product records its installation under the current user's
// "SOFTWARE\QUORVEX S.A.\<name>" key.
enum class InstallationRecord {
    None,         // no record of its own
    ProgramFile,  // "<name>\Program", value "Filename": the main (or marker) file's path
    BaseFolder,   // "<name>", value "BaseFolder": the installation folder
};

// Where a product records its database for a configuration, under the
// machine's "SOFTWARE\QUORVEX S.A.\<name>\<configuration>" key plus subKey.
// An empty value: no database recorded.
struct DatabaseRecord {
    std::string_view subKey;
    std::string_view value;
    // Whether the "Default" and then the "Paths" configuration are read when
    // the configuration's own key has no value.
    bool fallsBack = false;
};

// The identity a product's database must carry to be opened by this
// program; an empty identifier for the kinds without such a database.
struct DatabaseIdentity {
    std::string_view identifier;
    int structureVersion = 0;
};

// Everything the program knows of one product kind.
struct ProductDescriptor {
    ProductKind kind = ProductKind::None;
    // The name that packages and the registry records use; "" for None.
    std::string_view name;
    // The product's own folder inside the products root.
    std::string_view folder;
    InstallationRecord installation = InstallationRecord::None;
    DatabaseRecord database;
    DatabaseIdentity identity;
    // The packaged names its procedure cannot do without besides the lines
    // of FileNames.txt, the main or marker file first; unused slots empty.
    std::array<std::string_view, 2> fixedFiles;
    // Packaged files copied only where the package holds them and they are
    // installed already; unused slots empty.
    std::array<std::string_view, 2> companions;
    // Whether its update brings the packaged print lists into the database
    // of every company of the workstation.
    bool importsPrintLists = false;

    // The main (or marker) file: the first fixed packaged name.
    constexpr std::string_view MainFile() const { return fixedFiles[0]; }
};

// The descriptor of a kind (an empty one for None).
const ProductDescriptor& DescriptorOf(ProductKind kind);

// The kind of a product name or of a product's database identifier; the
// ASCII letters compare without regard to case, nothing else is folded and
// nothing is trimmed. None for anything else.
ProductKind ProductKindOf(std::string_view name);

}  // namespace qv
