#pragma once
// The wizard's link to the update engine: the engine's data module behind
// the narrow interface the wizard uses.
#include "engine/TdmUpdateCommon.h"
#include "main/WizardEngine.h"

namespace qv::wizard {

class DataModuleEngine : public WizardEngine {
public:
    explicit DataModuleEngine(TdmUpdateCommon& dm) : dm_(dm) {}

    int ReadEmbeddedLines(const std::string& name, std::vector<std::string>& lines) override
    {
        return dm_.ReadEmbeddedLines(name, lines);
    }
    int LoadEmbeddedRichText(const std::string& name, RichTextViewer& viewer) override
    {
        return dm_.LoadEmbeddedRichText(name, viewer);
    }
    void SetReportTarget(ReportSink* target) override { dm_.SetReportTarget(target); }
    void AddReportLine(const std::string& text, int size, const std::string& fontName) override
    {
        dm_.AddReportLine(text, size, fontName);
    }
    void SetCurrentProductKind(ProductKind kind) override { dm_.SetCurrentKind(kind); }
    void Randomize() override { dm_.Randomize(); }

private:
    TdmUpdateCommon& dm_;
};

}  // namespace qv::wizard
