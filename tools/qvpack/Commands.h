#pragma once
// The package tool's commands. Each writes its findings to out, its errors
// to err, and returns the process exit code: 0 success, 1 failure (a refused
// name, a damaged package, an I/O error).
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace qv::qvpack {

// Packages every file under source (manifests and payload alike) under its
// upper-cased relative name with its last-write time, into packageFile.
// With rcFile, also writes each stored form to a file in the folder
// "<rcFile>.d" and the resource script linking them as named RCDATA.
int Build(const std::filesystem::path& source, const std::filesystem::path& packageFile,
          const std::filesystem::path& rcFile, std::ostream& out, std::ostream& err);

// Makes the update program: the stub (by default the one beside qvpack,
// see DefaultStub) with every file under source as a named RT_RCDATA
// resource in its stored form, as Build packages them. Refuses what Verify
// refuses, and a folder whose manifests update nothing (see
// ManifestProblems), before writing anything; program is replaced whole at
// the end or left as it was.
int Make(const std::filesystem::path& source, const std::filesystem::path& program,
         const std::filesystem::path& stub, std::ostream& out, std::ostream& err);

// quorvex-update-stub.exe beside the running qvpack.
std::filesystem::path DefaultStub();

// file: a package file or a built executable.
int List(const std::filesystem::path& file, std::ostream& out, std::ostream& err);
int Verify(const std::filesystem::path& file, std::ostream& out, std::ostream& err);

// Restores every packaged file (or only those named) under destination,
// with its stored time stamp. Refuses the whole package, before writing
// anything, when a name would land outside destination.
int Extract(const std::filesystem::path& file, const std::filesystem::path& destination,
            const std::vector<std::string>& only, std::ostream& out, std::ostream& err);

}  // namespace qv::qvpack
