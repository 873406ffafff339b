#include "engine/UpdateProcedures.h"

#include "engine/procedures/KalvistoUpdate.h"
#include "engine/procedures/MargolinUpdate.h"
#include "engine/procedures/SuiteUpdate.h"

namespace qv {

UpdateProcedure FindUpdateProcedure(ProductKind kind)
{
    switch (kind) {
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
