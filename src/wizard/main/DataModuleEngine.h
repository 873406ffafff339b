#pragma once
// The wizard's link to the update engine: the engine's data module behind
// the narrow interface the wizard uses.
#include "engine/TdmUpdateCommon.h"
#include "main/WizardEngine.h"
#include "platform/ReportLog.h"

namespace qv::wizard {

class DataModuleEngine : public WizardEngine {
public:
    // log: where every report line goes too, whatever the report target
    // (the /LOG file); null for none.
    explicit DataModuleEngine(TdmUpdateCommon& dm, ReportSink* log = nullptr) : dm_(dm), log_(log) {}

    int ReadEmbeddedLines(const std::string& name, std::vector<std::string>& lines) override
    {
        return dm_.ReadEmbeddedLines(name, lines);
    }
    int LoadEmbeddedRichText(const std::string& name, RichTextViewer& viewer) override
    {
        return dm_.LoadEmbeddedRichText(name, viewer);
    }
    void SetReportTarget(ReportSink* target) override
    {
        tee_ = ReportTee(target, log_);
        dm_.SetReportTarget(log_ ? &tee_ : target);
    }
    void AddReportLine(const std::string& text, int size, const std::string& fontName) override
    {
        dm_.AddReportLine(text, size, fontName);
    }
    void SetCurrentProductKind(ProductKind kind) override { dm_.SetCurrentKind(kind); }
    void Randomize() override { dm_.Randomize(); }

private:
    TdmUpdateCommon& dm_;
    ReportSink* log_;
    ReportTee tee_{nullptr, nullptr};
};

}  // namespace qv::wizard
