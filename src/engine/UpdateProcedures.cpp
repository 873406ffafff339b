#include "engine/UpdateProcedures.h"

#include "engine/procedures/DravikUpdate.h"
#include "engine/procedures/KalvistoUpdate.h"
#include "engine/procedures/MainProductUpdate.h"
#include "engine/procedures/MargolinUpdate.h"
#include "engine/procedures/ObrentaUpdate.h"
#include "engine/procedures/RepertexUpdate.h"
#include "engine/procedures/SuiteUpdate.h"

namespace qv {

namespace {

// One procedure per kind, in kind order (None has none).
constexpr ProductKindTable<UpdateProcedure> kUpdateProcedures = {{
    nullptr,              // None
    &UpdateMainProduct,   // Telvarin
    &UpdateMainProduct,   // Telvarin Ingenieur
    &UpdateRepertex,      // Repertex
    &UpdateKalvisto,      // Kalvisto
    &UpdatePdfLibrary,    // PDFDLL
    &UpdateObrenta,       // Obrenta
    &UpdateMargolin,      // Margolin
    &UpdateSuite,         // Sovenza
    &UpdateSuite,         // Quorvex Finance
    &UpdateDravik,        // Dravik
}};

}  // namespace

UpdateProcedure FindUpdateProcedure(ProductKind kind)
{
    const auto index = static_cast<std::size_t>(kind);
    return index < kUpdateProcedures.entries.size() ? kUpdateProcedures[kind] : nullptr;
}

}  // namespace qv
