#include "engine/UpdateProcedures.h"

#include "engine/procedures/DravikUpdate.h"
#include "engine/procedures/KalvistoUpdate.h"
#include "engine/procedures/MainProductUpdate.h"
#include "engine/procedures/MargolinUpdate.h"
#include "engine/procedures/ObrentaUpdate.h"
#include "engine/procedures/RepertexUpdate.h"
#include "engine/procedures/SuiteUpdate.h"

namespace qv {

UpdateProcedure FindUpdateProcedure(ProductKind kind)
{
    switch (kind) {
    case ProductKind::Telvarin:
    case ProductKind::TelvarinIngenieur:
        return &UpdateMainProduct;
    case ProductKind::Repertex:
        return &UpdateRepertex;
    case ProductKind::Obrenta:
        return &UpdateObrenta;
    case ProductKind::Dravik:
        return &UpdateDravik;
    case ProductKind::Kalvisto:
        return &UpdateKalvisto;
    case ProductKind::PdfLibrary:
        return &UpdatePdfLibrary;
    case ProductKind::Margolin:
        return &UpdateMargolin;
    case ProductKind::Sovenza:
    case ProductKind::QuorvexFinance:
        return &UpdateSuite;
    default:
        return nullptr;
    }
}

}  // namespace qv
