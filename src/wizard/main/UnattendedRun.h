#pragma once
// The update without the wizard's pages (/SILENT, /VERYSILENT): the package
// is read as the wizard reads it and the same run is made at once, in the
// progress window of /SILENT or without any window.
#include "core/ExitCode.h"
#include "main/ProgressWindow.h"
#include "main/UpdateRun.h"

namespace qv::wizard {

class UnattendedRun final : private UpdateRunFront {
public:
    // progress: the /SILENT window, or null for a run without windows. The
    // engine's report target is set here.
    UnattendedRun(WizardEngine& engine, UserInteraction& ui, const ProcedureTable& procedures,
                  ProgressWindow* progress)
        : engine_(engine), ui_(ui), procedures_(procedures), progress_(progress) {}

    ExitCode Run();

private:
    void ProcedureStarting() override;
    void ProcedureEnded() override {}
    void ShowReport() override {}
    void ResultWritten() override;

    WizardEngine& engine_;
    UserInteraction& ui_;
    const ProcedureTable& procedures_;
    ProgressWindow* progress_;
};

}  // namespace qv::wizard
