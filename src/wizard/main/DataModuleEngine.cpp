#include "main/DataModuleEngine.h"

#include "core/ProductTables.h"
#include "ui/RichText.h"

namespace qv::wizard {

namespace {

// A RichEdit of the wizard as the engine's rich-text viewer.
class RichEditViewer : public RichTextViewer {
public:
    explicit RichEditViewer(HWND viewer) : viewer_(viewer) {}
    void Clear() override { ::SetWindowTextA(viewer_, ""); }
    void StreamRtf(std::string_view rtf) override { StreamRichText(viewer_, std::string(rtf)); }
    int LineCount() override { return RichLineCount(viewer_); }

private:
    HWND viewer_;
};

}  // namespace

int DataModuleEngine::ReadEmbeddedLines(const std::string& name, std::vector<std::string>& lines)
{
    return dm_.ReadEmbeddedLines(name, lines);
}

int DataModuleEngine::LoadEmbeddedRichText(const std::string& name, HWND viewer)
{
    RichEditViewer richEdit(viewer);
    return dm_.LoadEmbeddedRichText(name, richEdit);
}

void DataModuleEngine::AddReportLine(const std::string& text, int size, const std::string& fontName)
{
    dm_.AddReportLine(text, size, fontName);
}

ProductKind DataModuleEngine::ProductKindOf(const std::string& name)
{
    return qv::ProductKindOf(name);
}

std::vector<std::string> DataModuleEngine::ProductNames()
{
    return {qv::ProductNames.begin() + 1, qv::ProductNames.end()};
}

}  // namespace qv::wizard
