#pragma once
// The folder the running qvpack program lies in: its default stub is there.
#include <filesystem>

namespace qv::qvpack {

// Raises qv::Error when the system does not tell.
std::filesystem::path ProgramFolder();

}  // namespace qv::qvpack
