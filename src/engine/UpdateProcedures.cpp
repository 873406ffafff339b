#include "engine/UpdateProcedures.h"

#include "engine/procedures/SuiteUpdate.h"

namespace qv {

UpdateProcedure FindUpdateProcedure(ProductKind kind)
{
    switch (kind) {
    case ProductKind::Sovenza:
    case ProductKind::QuorvexFinance:
        return &UpdateSuite;
    default:
        return nullptr;
    }
}

}  // namespace qv
