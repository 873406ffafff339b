#pragma once
// The registry as the update engine uses it. Two families of operations:
//
// - the variant family (RegistryKeyExists, CreateRegistryKey,
//   ReadRegistryValue, WriteRegistryValue) shows nothing and reports absence
//   by empty results;
// - the string family (ReadRegistryString, WriteRegistryString) turns a
//   refused access into an error telling the user to check the access
//   rights.
//
// Every call is self-contained: it opens what it needs and closes every key
// before returning, also when an error passes through. Key paths are
// relative to the hive, with backslashes between levels. Implemented with
// the real API in win32/, and in memory for the native tests.
#include <cstdint>
#include <string>
#include <variant>

namespace qv {

// The predefined root keys, by their Windows handle values. Default keeps
// the variant family's default, the current user's hive; the string family
// uses the root it is given, so Default there names no hive at all.
enum class RegistryHive : std::uint32_t {
    Default = 0,
    CurrentUser = 0x80000001,
    LocalMachine = 0x80000002,
};

// A registry value as the variant family sees it: REG_DWORD as a signed
// 32-bit integer, REG_SZ and REG_EXPAND_SZ (not expanded) as text.
using RegistryValue = std::variant<std::int32_t, std::string>;

// The value as text: an integer in decimal, a text as it is.
std::string RegistryValueText(const RegistryValue& value);

// Access rights requested when opening keys, as Windows defines them.
inline constexpr std::uint32_t kKeyQueryValue = 0x0001;
inline constexpr std::uint32_t kKeySetValue = 0x0002;
inline constexpr std::uint32_t kKeyCreateSubKey = 0x0004;
inline constexpr std::uint32_t kKeyEnumerateSubKeys = 0x0008;
inline constexpr std::uint32_t kKeyNotify = 0x0010;
inline constexpr std::uint32_t kStandardRightsRead = 0x20000;
// What the existence test asks for: read rights without notification.
inline constexpr std::uint32_t kKeyExistsAccess =
    kStandardRightsRead | kKeyQueryValue | kKeyEnumerateSubKeys;  // 0x20009
inline constexpr std::uint32_t kKeyRead = 0x20019;                // KEY_READ
inline constexpr std::uint32_t kKeyAllAccess = 0xF003F;           // KEY_ALL_ACCESS
// What a write asks for: setting values, and reading the type of the one
// it replaces. Deleting a key's tree asks for deletion and enumeration too.
inline constexpr std::uint32_t kKeyWriteAccess = kKeyQueryValue | kKeySetValue;
inline constexpr std::uint32_t kDeleteRight = 0x10000;  // DELETE
inline constexpr std::uint32_t kKeyDeleteTreeAccess =
    kDeleteRight | kKeyEnumerateSubKeys | kKeyQueryValue | kKeySetValue;

class Registry {
public:
    virtual ~Registry() = default;

    // --- variant family ----------------------------------------------------

    // True when the key exists and can be opened with kKeyExistsAccess.
    virtual bool RegistryKeyExists(RegistryHive root, const std::string& key) = 0;

    // Creates the key and any missing parent levels. An empty path gives
    // false and touches nothing; a key that cannot be created raises
    // "Echec à la création de la clé %s".
    virtual bool CreateRegistryKey(RegistryHive root, const std::string& key) = 0;

    // Opens the key for reading (never creating it). From an opened
    // key: a REG_DWORD value gives its integer, any other value is read as
    // text ("Type de données incorrect pour '%s'" for a type that is no
    // text), a missing value gives "". A key that cannot be opened gives
    // defaultText, except that the default "0" gives the integer 0.
    virtual void ReadRegistryValue(RegistryHive root, const std::string& key,
                                   const std::string& name, RegistryValue& value,
                                   const std::string& defaultText = std::string()) = 0;

    // Writes into an existing key opened with kKeyWriteAccess; false (nothing
    // written) for an empty path or a key that cannot be opened. An existing
    // REG_DWORD value stays REG_DWORD (the text must be a number); anything
    // else is written as REG_SZ. A failed write raises
    // "Echec à la définition des données pour '%s'".
    virtual bool WriteRegistryValue(RegistryHive root, const std::string& key,
                                    const std::string& name, const RegistryValue& value) = 0;

    // --- string family ------------------------------------------------------

    // "" for a missing key or value. A key that exists but cannot be opened
    // with KEY_READ raises the reading message and the access-rights hint.
    virtual std::string ReadRegistryString(RegistryHive root, const std::string& key,
                                           const std::string& name) = 0;

    // Opens the key for writing (kKeyWriteAccess), creating it when missing
    // (the writing message and the access-rights hint when that fails), and
    // writes REG_SZ.
    virtual void WriteRegistryString(RegistryHive root, const std::string& key,
                                     const std::string& name, const std::string& text) = 0;

    // --- housekeeping -------------------------------------------------------

    // Deletes the key with all its sub-keys and values, opened with
    // kKeyDeleteTreeAccess. False when it could not (no such key, no rights); never raises.
    virtual bool DeleteRegistryKey(RegistryHive root, const std::string& key) = 0;
};

}  // namespace qv
