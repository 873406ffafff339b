#pragma once
// The wizard's engine link while the program carries no package: no
// manifest, no product, the report written straight into its viewer.
#include "main/WizardEngine.h"

namespace qv::wizard {

class EmptyPackage : public WizardEngine {
public:
    int ReadEmbeddedLines(const std::string& name, std::vector<std::string>& lines) override;
    int LoadEmbeddedRichText(const std::string& name, HWND viewer) override;
    void SetReportTarget(ReportSink* target) override { report_ = target; }
    void AddReportLine(const std::string& text, int size, const std::string& fontName) override;
    ProductKind ProductKindOf(const std::string& name) override;
    std::vector<std::string> ProductNames() override { return {}; }
    void SetCurrentProductKind(ProductKind kind) override { kind_ = kind; }

private:
    ReportSink* report_ = nullptr;
    ProductKind kind_ = 0;
};

}  // namespace qv::wizard
