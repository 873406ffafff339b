#pragma once
// A read-only rich-text viewer the engine can fill: the RichEdit of the list
// of changes in the program, a recording viewer in tests.
#include <string_view>

namespace qv {

class RichTextViewer {
public:
    virtual ~RichTextViewer() = default;
    // Removes the whole text.
    virtual void Clear() = 0;
    // Streams the bytes in as RTF, replacing the text.
    virtual void StreamRtf(std::string_view rtf) = 0;
    // The number of lines the viewer shows.
    virtual int LineCount() = 0;
};

}  // namespace qv
