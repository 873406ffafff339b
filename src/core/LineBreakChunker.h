#pragma once
// Cuts a byte stream into chunks for a control that pulls its input in
// pieces (a RichEdit fed with EM_STREAMIN), with every line break made
// CR LF on the way.
#include <cstddef>
#include <functional>

namespace qv {

class LineBreakChunker {
public:
    // Reads at most `max` bytes into `buffer`; 0 means the end of the stream.
    // May throw: the error passes through Next().
    using Reader = std::function<std::size_t(char* buffer, std::size_t max)>;

    // Fills `out` (room for `capacity` bytes, at least 4) with the next
    // chunk and returns its size; 0 only at the end of the stream. At most
    // capacity / 2 bytes are read per chunk, so the converted text always
    // fits. A CR that ends a chunk is held back and joined to the next one,
    // so a CR LF cut in two stays one line break.
    std::size_t Next(const Reader& read, char* out, std::size_t capacity);

private:
    bool pendingCR_ = false;
};

}  // namespace qv
