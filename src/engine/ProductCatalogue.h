#pragma once
// Where the products of the family record their installation and their
// database in the registry. Every call reads or writes the registry afresh;
// nothing is cached and nothing is shown to the user. A missing key or value
// (or one that cannot be opened) reads as the empty string.
#include <string>

#include "core/ProductTables.h"
#include "platform/FileSystem.h"
#include "platform/Registry.h"

namespace qv {

// The maker's root key; a product name is appended directly.
inline constexpr char kMakerRootKey[] = "SOFTWARE\\QUORVEX S.A.\\";

// How much of a recorded path a lookup returns: the value as recorded, or
// only its folder part (up to and including the last backslash or colon;
// "" when it has neither).
enum class RecordedPath { AsRecorded, FolderOnly };

// The recorded installation (current user): the main file's path (the
// marker file for the suites), or the base folder, as the kind records it.
std::string ProductFolder(Registry& registry, ProductKind kind, RecordedPath part);

// Records value as the product's installation (the value ProductFolder
// reads); true when written. The "\Program" key is created when missing;
// a base folder's key is not.
bool SetProductFolder(Registry& registry, ProductKind kind, const std::string& value);

// The product's database location (local machine) for a configuration,
// with the fall-backs of its kind's database record.
std::string ProductDatabasePath(Registry& registry, ProductKind kind,
                                const std::string& configuration, RecordedPath part);

// The folder under which the family's products are installed, derived from
// the first product that has a record; see the implementation.
std::string ProductsRootFolder(Registry& registry, FileSystem& files);

}  // namespace qv
