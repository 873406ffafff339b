#pragma once
// What the wizard needs from the update package and the update engine: the
// manifests and the report. The program wires it
// to the update engine; the catalogue itself is read directly
// (core/ProductTables.h).
#include <string>
#include <vector>

#include "core/ProductTables.h"
#include "platform/ReportSink.h"
#include "platform/RichTextViewer.h"

namespace qv::wizard {

class WizardEngine {
public:
    virtual ~WizardEngine() = default;

    // Clears lines and fills them with the packaged text file's lines; the
    // number of lines, 0 when the file is absent or empty.
    virtual int ReadEmbeddedLines(const std::string& name, std::vector<std::string>& lines) = 0;
    // Clears the viewer (even when the file is absent), then loads the
    // packaged file as rich text; the number of lines in the viewer.
    virtual int LoadEmbeddedRichText(const std::string& name, RichTextViewer& viewer) = 0;

    virtual void SetReportTarget(ReportSink* target) = 0;
    virtual void AddReportLine(const std::string& text, int size, const std::string& fontName) = 0;

    // Seeds the generator of temporary file names from the clock.
    virtual void Randomize() = 0;
};

}  // namespace qv::wizard
