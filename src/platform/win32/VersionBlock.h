#pragma once
// A file's version resource, read whole once (GetFileVersionInfoA), and
// queried by sub-block (VerQueryValueA).
#include <windows.h>

#include <string>
#include <vector>

namespace qv::win32 {

class VersionBlock {
public:
    // Empty (Loaded() false) when the file has no version resource or
    // cannot be read.
    explicit VersionBlock(const std::string& path);

    bool Loaded() const { return !data_.empty(); }

    // The bytes of a sub-block, or null with length 0 when it is missing.
    const void* Query(const char* subBlock, UINT& length) const;

    // The first entry of \VarFileInfo\Translation as "LLLLCCCC" (upper-case
    // hex), or "" when there is none.
    std::string Translation() const;

    // \StringFileInfo\<translation>\<name>, or "" when missing.
    std::string String(const std::string& translation, const char* name) const;

    // The fixed record; false when missing.
    bool Fixed(VS_FIXEDFILEINFO& info) const;

private:
    std::vector<char> data_;
};

// The name of a language by its Windows language id (VerLanguageNameA),
// "" when it cannot be told.
std::string VersionLanguageName(unsigned languageId);

}  // namespace qv::win32
