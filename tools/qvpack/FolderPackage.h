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
    // Manifests that cannot be stored in Windows-1252, one line each
    // (UTF-8); the package must not be written when there is any.
    std::vector<std::string> problems;
};

// Reads and compresses every file of a folder without problems. The
// manifests (core/Manifests.h) are stored in Windows-1252, as the program
// reads them: one that is UTF-8 (IsUtf8Text, with or without a byte-order
// mark) is converted, and a character that Windows-1252 lacks is a
// problem naming the file, the line and the character. Every other file
// is stored as it stands.
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

// The packaged (Windows-1252, backslash) name of a relative path. A name
// that is UTF-8 (always on Windows; on Linux when its bytes are, see
// IsUtf8Text) is converted, any other is Windows-1252 already. When a
// character has no Windows-1252 form, gives "" and the reason in problem.
std::string PackagedName(const std::filesystem::path& relative, std::string* problem = nullptr);

// "\"c\" (U+XXXX) has no Windows-1252 form", c in UTF-8.
std::string NoCp1252FormProblem(const std::string& character, char32_t codePoint);

// " \"name\"" quoted for a UTF-8 console.
std::string Quoted(std::string_view cp1252Name);

}  // namespace qv::qvpack
