#pragma once
// The registry interface on the real Windows registry.
#include "platform/Registry.h"

namespace qv::win32 {

class Win32Registry final : public Registry {
public:
    bool RegistryKeyExists(RegistryHive root, const std::string& key) override;
    bool CreateRegistryKey(RegistryHive root, const std::string& key) override;
    void ReadRegistryValue(RegistryHive root, const std::string& key, const std::string& name,
                           RegistryValue& value, const std::string& defaultText = std::string()) override;
    bool WriteRegistryValue(RegistryHive root, const std::string& key, const std::string& name,
                            const RegistryValue& value) override;
    std::string ReadRegistryString(RegistryHive root, const std::string& key,
                                   const std::string& name) override;
    void WriteRegistryString(RegistryHive root, const std::string& key, const std::string& name,
                             const std::string& text) override;
    bool DeleteRegistryKey(RegistryHive root, const std::string& key) override;
};

}  // namespace qv::win32
