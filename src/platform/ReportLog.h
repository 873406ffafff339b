#pragma once
// The report as a plain-text log file: UTF-8 with a byte-order mark, every
// paragraph ending in CR LF, so that it reads the same in Notepad as on the
// report page. And a sink that hands each line to two others (the report
// page, or the progress window, and the log).
#include <string>
#include <string_view>

#include "platform/ReportSink.h"

namespace qv {

// What a log file starts with.
inline constexpr char kUtf8ByteOrderMark[] = "\xEF\xBB\xBF";

// The bytes one report line adds to the log: the text in UTF-8, its line
// breaks (CR LF, a lone CR or LF) as CR LF, then the CR LF that ends the
// paragraph. Size and font are the viewer's business and leave no trace.
std::string ReportLogBytes(std::string_view text);

class ReportTee final : public ReportSink {
public:
    // Either may be null.
    ReportTee(ReportSink* first, ReportSink* second) : first_(first), second_(second) {}
    void SetFirst(ReportSink* first) { first_ = first; }
    void AddLine(const std::string& text, int size, const std::string& fontName) override
    {
        if (first_)
            first_->AddLine(text, size, fontName);
        if (second_)
            second_->AddLine(text, size, fontName);
    }

private:
    ReportSink* first_;
    ReportSink* second_;
};

}  // namespace qv
