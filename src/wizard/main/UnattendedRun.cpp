#include "main/UnattendedRun.h"

#include "platform/win32/WindowsHelpers.h"

namespace qv::wizard {

ExitCode UnattendedRun::Run()
{
    engine_.SetReportTarget(progress_ ? &progress_->Report() : nullptr);
    // Temporary file names are drawn from the random generator.
    engine_.Randomize();
    const std::string title = ReadPackageTitle(engine_);
    if (progress_)
        progress_->SetTitle(title);
    return ExitCodeOf(
        RunUpdateFor(ReadPackageProducts(engine_), title, engine_, ui_, procedures_, *this));
}

void UnattendedRun::ProcedureStarting()
{
    // Lets the header paint; without a window there is nothing to paint.
    if (progress_)
        win32::Delay(100);
}

void UnattendedRun::ResultWritten()
{
    if (progress_)
        progress_->ScrollToEnd();
}

}  // namespace qv::wizard
