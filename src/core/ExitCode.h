#pragma once
// What the program's exit code tells a deployment tool (docs/deployment.md,
// "Exit codes"). The wizard and the unattended runs return the same codes.
#include "core/UpdateStatus.h"

namespace qv {

enum class ExitCode : int {
    Ok = 0,              // the update completed ("/?" shown also ends with 0)
    RunFailed = 1,       // an error reached the run: "La mise à jour a échouée !" after its message
    Ko = 2,              // the procedure failed
    Not = 3,             // not carried out: kept by the user or by the answer policy
    Warning = 4,         // carried out with problems
    NoKnownProduct = 5,  // the package names no product of the family: nothing done
    Cancelled = 6,       // the wizard was closed before the update started
    AlreadyRunning = 7,  // another instance of the program runs
    BadCommandLine = 8,  // an unknown switch or a switch without its value
    LogNotCreated = 9,   // the log file cannot be created: nothing done
    LogIncomplete = 10,  // a write to the log failed part-way: the run's own code is lost
};

// How an update run ended.
struct RunOutcome {
    bool productFound = false;  // a product of a known kind was updated
    bool failed = false;        // an error reached the run
    UpdateStatus status = UpdateStatus::Unknown;
};

// The code of a finished run. A procedure that ran but gave no status is a
// failure, never a success.
inline ExitCode ExitCodeOf(const RunOutcome& outcome)
{
    if (outcome.failed)
        return ExitCode::RunFailed;
    if (!outcome.productFound)
        return ExitCode::NoKnownProduct;
    switch (outcome.status) {
    case UpdateStatus::Ok: return ExitCode::Ok;
    case UpdateStatus::Ko: return ExitCode::Ko;
    case UpdateStatus::Not: return ExitCode::Not;
    case UpdateStatus::Warning: return ExitCode::Warning;
    default: return ExitCode::RunFailed;
    }
}

}  // namespace qv
