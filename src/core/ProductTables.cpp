#include "core/ProductTables.h"

#include "core/Text.h"

namespace qv {

namespace {

using enum ProductKind;
constexpr auto kNoRecord = InstallationRecord::None;
constexpr auto kProgramFile = InstallationRecord::ProgramFile;
constexpr auto kBaseFolder = InstallationRecord::BaseFolder;

// The edition's database, below the configuration's key.
constexpr DatabaseRecord kMainProductDatabase{"\\TVP_DatabaseName", "Path", true};
// Both editions install the same program, with the same library beside it.
constexpr std::array<std::string_view, 2> kMainProductFiles{"TELVARIN.EXE"};
constexpr std::array<std::string_view, 2> kMainProductCompanions{"QUORVEX.DLL"};

// The family, in kind order.
constexpr ProductKindTable<ProductDescriptor> kProducts = {{{
    {None, "", "", kNoRecord, {}, {}, {}, {}, false},
    {Telvarin, "Telvarin", "TVP", kProgramFile, kMainProductDatabase, {"TVP_PRO", 1},
     kMainProductFiles, kMainProductCompanions, true},
    {TelvarinIngenieur, "Telvarin Ingenieur", "TVI", kProgramFile, kMainProductDatabase,
     {"TVP_ING", 1}, kMainProductFiles, kMainProductCompanions, true},
    {Repertex, "Repertex", "Repertex", kProgramFile, {"", "DatabaseName", true},
     {"TV_Repertex", 2}, {"TVRepertex2.dll"}, {}, true},
    {Kalvisto, "Kalvisto", "Kalvisto V 3.0", kBaseFolder, {}, {}, {"Kalvisto.exe"}, {}, false},
    {PdfLibrary, "PDFDLL", "", kNoRecord, {}, {}, {"wPDF200A.dll"}, {}, false},
    {Obrenta, "Obrenta", "Obrenta", kProgramFile, {"", "ConnectionString", false},
     {"Obrenta", 1}, {"Obrenta.exe", "TVE_intf.dll"}, {"OBEPFL.exe", "OBPCS.exe"}, true},
    {Margolin, "Margolin", "Margolin", kNoRecord, {}, {}, {"TVPMargolin.exe"}, {}, false},
    {Sovenza, "Sovenza", "", kProgramFile, {}, {}, {"svz\\SA-00.int"}, {}, false},
    {QuorvexFinance, "Quorvex Finance", "", kProgramFile, {}, {}, {"gs\\GS-00.int"}, {}, false},
    {Dravik, "Dravik", "Dravik", kProgramFile, {"", "ConnectionString", false}, {"Dravik", 1},
     {"Dravik.exe"}, {}, true},
}}};

constexpr bool TableIsConsistent()
{
    for (std::size_t i = 0; i < kProducts.entries.size(); ++i) {
        const ProductDescriptor& product = kProducts.entries[i];
        if (static_cast<std::size_t>(product.kind) != i)
            return false;
        // The import opens the kind's database: it needs one, and its identity.
        if (product.importsPrintLists !=
            (!product.identity.identifier.empty() && !product.database.value.empty()))
            return false;
        if (product.kind != None && product.MainFile().empty())
            return false;
    }
    return true;
}
static_assert(TableIsConsistent(), "one descriptor per kind, in kind order");

}  // namespace

const ProductDescriptor& DescriptorOf(ProductKind kind)
{
    const auto index = static_cast<std::size_t>(kind);
    return index < kProducts.entries.size() ? kProducts[kind] : kProducts[None];
}

ProductKind ProductKindOf(std::string_view name)
{
    if (name.empty())
        return None;
    for (ProductKind kind : kProductKinds)
        if (EqualsIgnoreCaseAscii(name, kProducts[kind].name))
            return kind;
    // Then the database identifiers, in kind order.
    for (ProductKind kind : kProductKinds)
        if (const std::string_view id = kProducts[kind].identity.identifier;
            !id.empty() && EqualsIgnoreCaseAscii(name, id))
            return kind;
    return None;
}

}  // namespace qv
