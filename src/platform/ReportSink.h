#pragma once
// Where the installation report goes: the RichEdit of the report page in
// the program, a recording sink in tests.
#include <string>

namespace qv {

class ReportSink {
public:
    virtual ~ReportSink() = default;
    // Appends text as a new paragraph at the end. size 0 keeps the current
    // size (points); an empty fontName keeps the current face. A CR LF inside
    // the text starts a further paragraph.
    virtual void AddLine(const std::string& text, int size, const std::string& fontName) = 0;
};

}  // namespace qv
