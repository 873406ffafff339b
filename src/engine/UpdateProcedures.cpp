#include "engine/UpdateProcedures.h"

#include "engine/procedures/SuiteUpdate.h"

namespace qv {

UpdateProcedure FindUpdateProcedure(ProductKind kind)
{
    switch (kind) {
    case 8:  // Sovenza
    case 9:  // Quorvex Finance
        return &UpdateSuite;
    default:
        // Main product (1, 2), address book (3), Kalvisto (4), PDF library
        // (5), Obrenta (6), Margolin (7) and Dravik (10) are still to come.
        return nullptr;
    }
}

}  // namespace qv
