#pragma once
// The user interaction of a run nobody watches (/SUPPRESSMSGBOXES): no box
// waits for an answer. Every question takes the answer that keeps what is
// installed: an older file is never installed, and an identical one is
// copied again only when replaceSame is set. Every message box is written to
// the report instead, and so is every question with the answer it got. A
// folder or file chooser counts as cancelled.
#include "platform/ReportSink.h"
#include "platform/UserInteraction.h"

namespace qv {

class UnattendedInteraction final : public UserInteraction {
public:
    // report: where the boxes go (not owned; the log and, with /SILENT, the
    // progress window).
    UnattendedInteraction(ReportSink& report, bool replaceSame)
        : report_(report), replaceSame_(replaceSame) {}

    void Beep(unsigned) override {}
    DialogResult ShowMessageDialog(const std::string& text, DialogType type,
                                   DialogButtons buttons, const std::string& caption) override;
    std::string BrowseForFolder(const std::string& title) override;
    std::string ChooseFile() override;
    void SetWaitCursor(bool) override {}

private:
    ReportSink& report_;
    bool replaceSame_;
};

}  // namespace qv
