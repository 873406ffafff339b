#include "core/LineBreakChunker.h"

#include <cstring>
#include <stdexcept>
#include <string>

#include "core/TextConversions.h"

namespace qv {

std::size_t LineBreakChunker::Next(const Reader& read, char* out, std::size_t capacity)
{
    // A held-back CR plus at least one new byte must fit in the budget.
    if (capacity < 4)
        throw std::invalid_argument("LineBreakChunker: buffer too small");
    const std::size_t budget = capacity / 2;
    for (;;) {
        std::string in;
        if (pendingCR_)
            in = "\r";
        pendingCR_ = false;
        std::size_t start = in.size();
        in.resize(budget);
        std::size_t got = read(in.data() + start, budget - start);
        in.resize(start + got);
        if (in.empty())
            return 0;
        if (got > 0 && in.back() == '\r') {
            pendingCR_ = true;
            in.pop_back();
        }
        std::string chunk = AdjustLineBreaks(in);
        if (!chunk.empty()) {
            std::memcpy(out, chunk.data(), chunk.size());
            return chunk.size();
        }
        // Nothing to hand over yet (a lone held-back CR, or a NUL): read on.
    }
}

}  // namespace qv
