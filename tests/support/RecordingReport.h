#pragma once
// Test doubles for the report sink and the rich-text viewer: they record
// what the engine writes.
#include <string>
#include <vector>

#include "core/Text.h"
#include "platform/ReportSink.h"
#include "platform/RichTextViewer.h"

namespace qv::test {

struct ReportLine {
    std::string text;
    int size;
    std::string fontName;
};

class RecordingReportSink : public ReportSink {
public:
    std::vector<ReportLine> lines;
    void AddLine(const std::string& text, int size, const std::string& fontName) override
    {
        lines.push_back({text, size, fontName});
    }
    // The texts only, in order.
    std::vector<std::string> Texts() const
    {
        std::vector<std::string> out;
        for (const auto& l : lines)
            out.push_back(l.text);
        return out;
    }
};

class RecordingViewer : public RichTextViewer {
public:
    std::string rtf;
    int clears = 0;
    void Clear() override
    {
        ++clears;
        rtf.clear();
    }
    void StreamRtf(std::string_view bytes) override { rtf.assign(bytes); }
    // A plain count of the streamed text's lines stands in for the layout.
    int LineCount() override { return static_cast<int>(SplitLines(rtf).size()); }
};

}  // namespace qv::test
