#pragma once
// The update run, shared by the wizard and the unattended runs: the first
// product of the package whose kind is known gets the run header, its
// procedure and the result line; an error reaching the run is shown (or,
// unattended, written) and reported. What differs between the front ends
// (buttons, pages, painting) is behind UpdateRunFront.
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/ExitCode.h"
#include "core/ProductTables.h"
#include "core/UpdateStatus.h"
#include "main/WizardEngine.h"
#include "platform/FileSystem.h"
#include "platform/Registry.h"
#include "platform/UserInteraction.h"

namespace qv::wizard {

// The update procedure bound to one product kind, and the dispatch table.
using BoundProcedure = std::function<UpdateStatus()>;
using ProcedureTable = std::map<ProductKind, BoundProcedure>;

class UpdateRunFront {
public:
    virtual ~UpdateRunFront() = default;
    // After the header, before the procedure: the actions are disabled and
    // the header gets painted.
    virtual void ProcedureStarting() = 0;
    // After the procedure, whatever it did: the actions are enabled again.
    virtual void ProcedureEnded() = 0;
    // The run is over (not after an error): the report is shown...
    virtual void ShowReport() = 0;
    // ...and, after its result line, scrolled to its end.
    virtual void ResultWritten() = 0;
};

// The package's title: the first line of AppInfo1.txt, or "" without one.
std::string ReadPackageTitle(WizardEngine& engine);
// The product lines of Updates.txt that pass the catalogue filter; empty
// without the file.
std::vector<std::string> ReadPackageProducts(WizardEngine& engine);

// Runs the update of the first product of products with a known kind, the
// report header naming title. Never raises: an error of the run is shown
// through ui and written to the report.
RunOutcome RunUpdateFor(const std::vector<std::string>& products, const std::string& title,
                        WizardEngine& engine, UserInteraction& ui,
                        const ProcedureTable& procedures, UpdateRunFront& front);

// For a run under the LocalSystem account, whose current-user registry is
// the system account's own while the products record their installation
// for the user who installed them: raises the message that says so, unless
// a record of the kind (or of the family, for a kind found through the
// products root) is there after all. The drive search would only end in
// "not found".
void RequireProductRecords(Registry& registry, FileSystem& files, ProductKind kind);

}  // namespace qv::wizard
