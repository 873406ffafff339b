#pragma once
// A growable block of bytes with a position, as the engine hands packaged
// files to their readers.
#include <algorithm>
#include <string>
#include <string_view>

namespace qv {

struct MemoryStream {
    std::string data;
    std::size_t position = 0;

    // Writes at the position, overwriting or extending, and moves past it.
    void Write(std::string_view bytes)
    {
        if (position > data.size())
            data.resize(position);
        data.replace(position, std::min(bytes.size(), data.size() - position), bytes);
        position += bytes.size();
    }
    void Clear()
    {
        data.clear();
        position = 0;
    }
};

}  // namespace qv
