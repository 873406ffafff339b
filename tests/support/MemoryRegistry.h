#pragma once
// An in-memory registry for native tests of the engine. It follows the same
// rules as the real one: case-insensitive key paths and value names, parents
// created with their children, the access rights each operation asks for
// (a key can be given fewer rights with Restrict), the DWORD/string rules
// and the same messages.
#include <cstdint>
#include <map>
#include <string>
#include <utility>

#include "core/Errors.h"
#include "core/Format.h"
#include "core/Text.h"
#include "core/TextConversions.h"
#include "core/Texts.h"
#include "platform/Registry.h"

namespace qv::test {

enum class RegistryType { String = 1, ExpandString = 2, Binary = 3, Dword = 4 };

struct MemoryRegistryValue {
    RegistryType type = RegistryType::String;
    std::string text;          // String, ExpandString, Binary
    std::uint32_t number = 0;  // Dword
};

class MemoryRegistry final : public Registry {
public:
    // --- for the tests: arrange and inspect the store directly ----------------
    void Seed(RegistryHive root, const std::string& key, const std::string& name,
              MemoryRegistryValue value)
    {
        Create(root, key)->values[LowerAscii(name)] = std::move(value);
    }
    // Leaves the key only the given rights (for example kKeyRead: readable
    // but not writable).
    void Restrict(RegistryHive root, const std::string& key, std::uint32_t granted)
    {
        Create(root, key)->granted = granted;
    }
    bool HasKey(RegistryHive root, const std::string& key) const
    {
        return keys_.count(Id(root, key)) != 0;
    }
    const MemoryRegistryValue* Find(RegistryHive root, const std::string& key,
                                    const std::string& name) const
    {
        auto k = keys_.find(Id(root, key));
        if (k == keys_.end())
            return nullptr;
        auto v = k->second.values.find(LowerAscii(name));
        return v == k->second.values.end() ? nullptr : &v->second;
    }

    // --- the interface -----------------------------------------------------------
    bool RegistryKeyExists(RegistryHive root, const std::string& key) override
    {
        return Open(Variant(root), key, kKeyExistsAccess) != nullptr;
    }

    bool CreateRegistryKey(RegistryHive root, const std::string& key) override
    {
        if (key.empty())
            return false;
        if (!CreateWithAccess(Variant(root), key))
            throw Error(Format(texts::kRegistryCreateKeyFailed, {key}));
        return true;
    }

    void ReadRegistryValue(RegistryHive root, const std::string& key, const std::string& name,
                           RegistryValue& value, const std::string& defaultText = std::string()) override
    {
        value = std::int32_t{0};
        Key* k = Open(Variant(root), key, kKeyRead);
        if (!k) {
            if (defaultText != "0")
                value = defaultText;
            return;
        }
        auto v = k->values.find(LowerAscii(name));
        if (v != k->values.end() && v->second.type == RegistryType::Dword)
            value = static_cast<std::int32_t>(v->second.number);
        else
            value = ReadString(*k, name);
    }

    bool WriteRegistryValue(RegistryHive root, const std::string& key, const std::string& name,
                            const RegistryValue& value) override
    {
        if (key.empty())
            return false;
        Key* k = Open(Variant(root), key, kKeyWriteAccess);
        if (!k)
            return false;
        auto v = k->values.find(LowerAscii(name));
        MemoryRegistryValue stored;
        if (v != k->values.end() && v->second.type == RegistryType::Dword) {
            stored.type = RegistryType::Dword;
            stored.number = static_cast<std::uint32_t>(ParseInteger(RegistryValueText(value)));
        } else {
            stored.text = RegistryValueText(value);
        }
        k->values[LowerAscii(name)] = stored;
        return true;
    }

    std::string ReadRegistryString(RegistryHive root, const std::string& key,
                                   const std::string& name) override
    {
        if (!Open(root, key, kKeyExistsAccess))
            return std::string();
        Key* k = Open(root, key, kKeyRead);
        if (!k)
            throw Error(std::string(texts::kRegistryReadFailed) + "\r\n" +
                        texts::kCheckAccessRights);
        return ReadString(*k, name);
    }

    void WriteRegistryString(RegistryHive root, const std::string& key, const std::string& name,
                             const std::string& text) override
    {
        Key* k = CreateWithAccess(root, key);
        if (!k)
            throw Error(std::string(texts::kRegistryWriteFailed) + "\r\n" +
                        texts::kCheckAccessRights);
        MemoryRegistryValue stored;
        stored.text = text.substr(0, text.find('\0'));
        k->values[LowerAscii(name)] = stored;
    }

    bool DeleteRegistryKey(RegistryHive root, const std::string& key) override
    {
        root = Variant(root);
        if (key.empty() || !Open(root, key, kKeyDeleteTreeAccess))
            return false;
        std::string prefix = Id(root, key) + "\\";
        for (auto it = keys_.begin(); it != keys_.end();) {
            if (it->first == Id(root, key) || it->first.rfind(prefix, 0) == 0)
                it = keys_.erase(it);
            else
                ++it;
        }
        return true;
    }

private:
    struct Key {
        std::map<std::string, MemoryRegistryValue> values;
        std::uint32_t granted = kKeyAllAccess;
    };

    static RegistryHive Variant(RegistryHive root)
    {
        return root == RegistryHive::Default ? RegistryHive::CurrentUser : root;
    }

    static std::string Path(const std::string& key)
    {
        std::string path = LowerAscii(key);
        if (!path.empty() && path.front() == '\\')
            path.erase(0, 1);
        while (!path.empty() && path.back() == '\\')
            path.pop_back();
        return path;
    }

    static std::string Id(RegistryHive root, const std::string& key)
    {
        std::string path = Path(key);
        return std::to_string(static_cast<std::uint32_t>(root)) + (path.empty() ? "" : "\\" + path);
    }

    static bool RealHive(RegistryHive root) { return root != RegistryHive::Default; }

    Key* Open(RegistryHive root, const std::string& key, std::uint32_t access)
    {
        if (!RealHive(root))
            return nullptr;
        std::string id = Id(root, key);
        if (Path(key).empty())
            return &keys_[id];  // the hive itself
        auto it = keys_.find(id);
        if (it == keys_.end() || (access & ~it->second.granted) != 0)
            return nullptr;
        return &it->second;
    }

    // Creates the missing levels; opens the last one for writing.
    Key* CreateWithAccess(RegistryHive root, const std::string& key)
    {
        if (!RealHive(root))
            return nullptr;
        Key* k = Create(root, key);
        return (kKeyWriteAccess & ~k->granted) == 0 ? k : nullptr;
    }

    Key* Create(RegistryHive root, const std::string& key)
    {
        std::string path = Path(key);
        for (std::size_t pos = path.find('\\'); pos != std::string::npos;
             pos = path.find('\\', pos + 1))
            keys_[Id(root, path.substr(0, pos))];
        return &keys_[Id(root, path)];
    }

    static std::string ReadString(const Key& k, const std::string& name)
    {
        auto v = k.values.find(LowerAscii(name));
        if (v == k.values.end())
            return std::string();
        if (v->second.type != RegistryType::String && v->second.type != RegistryType::ExpandString)
            throw Error(Format(texts::kRegistryBadType, {name}));
        return v->second.text;
    }

    std::map<std::string, Key> keys_;
};

}  // namespace qv::test
