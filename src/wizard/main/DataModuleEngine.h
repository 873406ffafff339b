#pragma once
// The wizard's link to the update engine: the engine's data module, with
// the product catalogue, behind the narrow interface the wizard uses.
#include "engine/TdmUpdateCommon.h"
#include "main/WizardEngine.h"

namespace qv::wizard {

class DataModuleEngine : public WizardEngine {
public:
    explicit DataModuleEngine(TdmUpdateCommon& dm) : dm_(dm) {}

    int ReadEmbeddedLines(const std::string& name, std::vector<std::string>& lines) override;
    int LoadEmbeddedRichText(const std::string& name, HWND viewer) override;
    void SetReportTarget(ReportSink* target) override { dm_.SetReportTarget(target); }
    void AddReportLine(const std::string& text, int size, const std::string& fontName) override;
    ProductKind ProductKindOf(const std::string& name) override;
    std::vector<std::string> ProductNames() override;
    void SetCurrentProductKind(ProductKind kind) override { dm_.SetCurrentKind(kind); }
    void Randomize() override { dm_.Randomize(); }

private:
    TdmUpdateCommon& dm_;
};

}  // namespace qv::wizard
