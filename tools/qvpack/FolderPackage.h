#pragma once
// A package made from a folder: every regular file under it, manifests and
// payload alike, under its relative name upper-cased (backslashes kept),
// with its last-write time; and the update program that carries it.
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "core/PackageFile.h"

namespace qv::qvpack {

// The stub the package tool makes programs from: the wizard without a
// package, shipped beside it.
inline constexpr char kStubName[] = "quorvex-update-stub.exe";

struct FolderFiles {
    std::map<std::string, std::filesystem::path> byName;  // upper-cased name -> file
    // Why the folder cannot be packaged (refused names, names colliding
    // once upper-cased), one line each, UTF-8; empty when it can.
    std::vector<std::string> problems;
};

// Raises qv::Error when source is no folder.
FolderFiles ScanFolder(const std::filesystem::path& source);

struct StoredFolder {
    std::vector<std::string> stored;    // the stored forms, in name order
    std::vector<PackageEntry> entries;  // name -> view into stored
    std::uint64_t payloadBytes = 0;
};

// Reads and compresses every file of a folder without problems.
StoredFolder Store(const FolderFiles& files);

// "N files, X bytes, stored in Y bytes".
std::string Summary(const StoredFolder& stored);

// Raises qv::Error when stub is no executable or carries a package already.
void CheckStub(std::string_view stub);

// The program: the stub with the package added as named RT_RCDATA
// resources, language neutral, its own resources kept. Raises qv::Error
// when CheckStub does, and when the program made does not read back as
// exactly these entries.
std::string ProgramWithPackage(std::string_view stub, const std::vector<PackageEntry>& entries);

// The packaged (Windows-1252, backslash) name of a relative path.
std::string PackagedName(const std::filesystem::path& relative);

// " \"name\"" quoted for a UTF-8 console.
std::string Quoted(std::string_view cp1252Name);

}  // namespace qv::qvpack
