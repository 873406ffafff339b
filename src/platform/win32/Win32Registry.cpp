#include "platform/win32/Win32Registry.h"

#include <windows.h>

#include <vector>

#include "core/Errors.h"
#include "core/Format.h"
#include "core/TextConversions.h"
#include "core/Texts.h"
#include "platform/win32/Win32Handles.h"

namespace qv::win32 {
namespace {

// The variant family treats Default as the current user's hive; the string
// family passes Default through as "no hive", which Windows refuses.
HKEY VariantRoot(RegistryHive root)
{
    return root == RegistryHive::Default
               ? HKEY_CURRENT_USER
               : reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<std::uint32_t>(root)));
}

HKEY StringRoot(RegistryHive root)
{
    return root == RegistryHive::Default
               ? nullptr
               : reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<std::uint32_t>(root)));
}

// Callers write paths relative to the hive; a leading backslash is
// tolerated rather than refused by Windows.
const char* Relative(const std::string& key)
{
    const char* p = key.c_str();
    return *p == '\\' ? p + 1 : p;
}

// The products are 32-bit programs: their machine-wide keys live in the
// 32-bit view of the registry, which the 64-bit build must read and write
// too (a 32-bit program on 32-bit Windows ignores the flag).
constexpr REGSAM kProductsView = KEY_WOW64_32KEY;

// What a write asks for: setting values and reading the type of the one it
// replaces, never full access (a key an administrator opened for writing
// only must still take the product's record).
constexpr REGSAM kWriteAccess = KEY_QUERY_VALUE | KEY_SET_VALUE;

UniqueRegistryKey OpenKey(HKEY root, const std::string& key, REGSAM access)
{
    UniqueRegistryKey handle;
    if (root == nullptr)
        return handle;
    HKEY opened = nullptr;
    if (RegOpenKeyExA(root, Relative(key), 0, access | kProductsView, &opened) == ERROR_SUCCESS)
        handle.reset(opened);
    return handle;
}

UniqueRegistryKey CreateKey(HKEY root, const std::string& key)
{
    UniqueRegistryKey handle;
    if (root == nullptr)
        return handle;
    HKEY created = nullptr;
    if (RegCreateKeyExA(root, Relative(key), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        kWriteAccess | kProductsView, nullptr, &created, nullptr) == ERROR_SUCCESS)
        handle.reset(created);
    return handle;
}

// The stored type of a value, or REG_NONE with found == false.
DWORD ValueType(HKEY key, const std::string& name, bool& found)
{
    DWORD type = REG_NONE;
    found = RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, nullptr) == ERROR_SUCCESS;
    return type;
}

// A value read as text: "" when missing, the text up to its first NUL for
// REG_SZ and REG_EXPAND_SZ, an error for any other type.
std::string ReadString(HKEY key, const std::string& name)
{
    std::vector<char> data(256);
    for (;;) {
        DWORD type = REG_NONE;
        DWORD size = static_cast<DWORD>(data.size());
        LONG rc = RegQueryValueExA(key, name.c_str(), nullptr, &type,
                                   reinterpret_cast<BYTE*>(data.data()), &size);
        if (rc == ERROR_MORE_DATA) {
            data.resize(size + 1);
            continue;
        }
        if (rc != ERROR_SUCCESS)
            return std::string();
        if (type != REG_SZ && type != REG_EXPAND_SZ)
            throw Error(Format(texts::kRegistryBadType, {name}));
        std::string text(data.data(), size);
        return text.substr(0, text.find('\0'));
    }
}

void SetValue(HKEY key, const std::string& name, DWORD type, const void* data, DWORD size)
{
    if (RegSetValueExA(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), size) !=
        ERROR_SUCCESS)
        throw Error(Format(texts::kRegistrySetDataFailed, {name}));
}

void SetString(HKEY key, const std::string& name, const std::string& text)
{
    SetValue(key, name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
}

std::string AccessMessage(const char* what)
{
    return std::string(what) + "\r\n" + texts::kCheckAccessRights;
}

}  // namespace

bool Win32Registry::RegistryKeyExists(RegistryHive root, const std::string& key)
{
    return OpenKey(VariantRoot(root), key, kKeyExistsAccess).valid();
}

bool Win32Registry::CreateRegistryKey(RegistryHive root, const std::string& key)
{
    if (key.empty())
        return false;
    if (!CreateKey(VariantRoot(root), key))
        throw Error(Format(texts::kRegistryCreateKeyFailed, {key}));
    return true;
}

void Win32Registry::ReadRegistryValue(RegistryHive root, const std::string& key,
                                      const std::string& name, RegistryValue& value,
                                      const std::string& defaultText)
{
    value = std::int32_t{0};
    // Read rights only: a standard user must still read the machine's keys.
    UniqueRegistryKey handle = OpenKey(VariantRoot(root), key, KEY_READ);
    if (!handle) {
        if (defaultText != "0")
            value = defaultText;
        return;
    }
    bool found = false;
    if (ValueType(handle.get(), name, found) == REG_DWORD) {
        DWORD number = 0, size = sizeof number;
        if (RegQueryValueExA(handle.get(), name.c_str(), nullptr, nullptr,
                             reinterpret_cast<BYTE*>(&number), &size) == ERROR_SUCCESS) {
            value = static_cast<std::int32_t>(number);
            return;
        }
    }
    value = ReadString(handle.get(), name);
}

bool Win32Registry::WriteRegistryValue(RegistryHive root, const std::string& key,
                                       const std::string& name, const RegistryValue& value)
{
    if (key.empty())
        return false;
    UniqueRegistryKey handle = OpenKey(VariantRoot(root), key, kWriteAccess);
    if (!handle)
        return false;
    bool found = false;
    if (ValueType(handle.get(), name, found) == REG_DWORD && found) {
        DWORD number = static_cast<DWORD>(ParseInteger(RegistryValueText(value)));
        SetValue(handle.get(), name, REG_DWORD, &number, sizeof number);
    } else {
        SetString(handle.get(), name, RegistryValueText(value));
    }
    return true;
}

std::string Win32Registry::ReadRegistryString(RegistryHive root, const std::string& key,
                                              const std::string& name)
{
    HKEY hive = StringRoot(root);
    if (!OpenKey(hive, key, kKeyExistsAccess))
        return std::string();
    UniqueRegistryKey handle = OpenKey(hive, key, KEY_READ);
    if (!handle)
        throw Error(AccessMessage(texts::kRegistryReadFailed));
    return ReadString(handle.get(), name);
}

void Win32Registry::WriteRegistryString(RegistryHive root, const std::string& key,
                                        const std::string& name, const std::string& text)
{
    UniqueRegistryKey handle = CreateKey(StringRoot(root), key);
    if (!handle)
        throw Error(AccessMessage(texts::kRegistryWriteFailed));
    SetString(handle.get(), name, text);
}

bool Win32Registry::DeleteRegistryKey(RegistryHive root, const std::string& key)
{
    if (key.empty())
        return false;
    HKEY hive = VariantRoot(root);
    {
        UniqueRegistryKey handle =
            OpenKey(hive, key, DELETE | KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE | KEY_SET_VALUE);
        if (!handle || RegDeleteTreeA(handle.get(), nullptr) != ERROR_SUCCESS)
            return false;
    }
    return RegDeleteKeyExA(hive, Relative(key), kProductsView, 0) == ERROR_SUCCESS;
}

}  // namespace qv::win32
