#include "tools/qvpack/LocalFiles.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "core/Errors.h"

namespace fs = std::filesystem;

namespace qv::qvpack {

std::string ReadWholeFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw Error("Cannot open " + path.string());
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (in.bad())
        throw Error("Cannot read " + path.string());
    return std::move(bytes).str();
}

void WriteWholeFile(const fs::path& path, std::string_view bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out)
        throw Error("Cannot create " + path.string());
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out)
        throw Error("Cannot write " + path.string());
}

void WriteAtomically(const fs::path& target, std::string_view bytes)
{
    fs::path partial = target;
    partial += ".partial";
    try {
        WriteWholeFile(partial, bytes);
        std::error_code error;
        fs::rename(partial, target, error);
        if (error)
            throw Error("Cannot replace " + target.string() + ": " + error.message());
    } catch (...) {
        std::error_code ignored;
        fs::remove(partial, ignored);
        throw;
    }
}

bool IsInside(const fs::path& path, const fs::path& folder)
{
    fs::path inner = fs::weakly_canonical(fs::absolute(path));
    fs::path outer = fs::weakly_canonical(fs::absolute(folder));
    auto [end, ignored] = std::mismatch(outer.begin(), outer.end(), inner.begin(), inner.end());
    return end == outer.end();
}

}  // namespace qv::qvpack
