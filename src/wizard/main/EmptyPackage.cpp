#include "main/EmptyPackage.h"

namespace qv::wizard {

int EmptyPackage::ReadEmbeddedLines(const std::string&, std::vector<std::string>& lines)
{
    lines.clear();
    return 0;
}

int EmptyPackage::LoadEmbeddedRichText(const std::string&, HWND viewer)
{
    ::SetWindowTextA(viewer, "");
    return 0;
}

void EmptyPackage::AddReportLine(const std::string& text, int size, const std::string& fontName)
{
    if (report_)
        report_->AddLine(text, size, fontName);
}

ProductKind EmptyPackage::ProductKindOf(const std::string&)
{
    return 0;
}

}  // namespace qv::wizard
