#pragma once
// The wizard's link to the update engine: the update engine behind
// the narrow interface the wizard uses.
#include "engine/UpdateEngine.h"
#include "main/WizardEngine.h"
#include "platform/ReportLog.h"

namespace qv::wizard {

class EngineAdapter : public WizardEngine {
public:
    // log: where every report line goes too, whatever the report target
    // (the /LOG file); null for none.
    explicit EngineAdapter(UpdateEngine& engine, ReportSink* log = nullptr) : engine_(engine), log_(log) {}

    int ReadEmbeddedLines(const std::string& name, std::vector<std::string>& lines) override
    {
        return engine_.ReadEmbeddedLines(name, lines);
    }
    int LoadEmbeddedRichText(const std::string& name, RichTextViewer& viewer) override
    {
        return engine_.LoadEmbeddedRichText(name, viewer);
    }
    void SetReportTarget(ReportSink* target) override
    {
        tee_ = ReportTee(target, log_);
        engine_.SetReportTarget(log_ ? &tee_ : target);
    }
    void AddReportLine(const std::string& text, int size, const std::string& fontName) override
    {
        engine_.AddReportLine(text, size, fontName);
    }
    void Randomize() override { engine_.Randomize(); }

private:
    UpdateEngine& engine_;
    ReportSink* log_;
    ReportTee tee_{nullptr, nullptr};
};

}  // namespace qv::wizard
