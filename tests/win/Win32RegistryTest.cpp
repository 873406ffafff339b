// The real registry, in both hives, passes the registry cases. Keys are made
// read-only or unreadable with a security descriptor, which Wine's server
// checks like Windows does.
#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include "platform/win32/Win32Handles.h"
#include "platform/win32/Win32Registry.h"
#include "support/RegistryContract.h"

namespace qv::test {
namespace {

using win32::UniqueRegistryKey;

// The view the products' keys live in, which the program reads in both
// builds.
constexpr REGSAM kView = KEY_WOW64_32KEY;

HKEY HiveHandle(RegistryHive h)
{
    return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<std::uint32_t>(h)));
}

// Gives the key, for everyone, exactly the rights in `sddlRights` (an SDDL
// access mask such as "0x20019").
void SetKeyDacl(HKEY hive, const std::string& key, const std::string& sddl)
{
    HKEY raw = nullptr;
    ASSERT_EQ(RegOpenKeyExA(hive, key.c_str(), 0, WRITE_DAC | kView, &raw), ERROR_SUCCESS) << key;
    UniqueRegistryKey handle(raw);
    PSECURITY_DESCRIPTOR sd = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl.c_str(), SDDL_REVISION_1,
                                                                     &sd, nullptr));
    LONG rc = RegSetKeySecurity(handle.get(), DACL_SECURITY_INFORMATION, sd);
    LocalFree(sd);
    ASSERT_EQ(rc, ERROR_SUCCESS) << key;
}

void DeleteTree(HKEY hive, const std::string& key, REGSAM view = kView)
{
    HKEY raw = nullptr;
    if (RegOpenKeyExA(hive, key.c_str(), 0, KEY_ALL_ACCESS | view, &raw) != ERROR_SUCCESS)
        return;
    RegDeleteTreeA(raw, nullptr);
    RegCloseKey(raw);
    RegDeleteKeyExA(hive, key.c_str(), view, 0);
}

template <RegistryHive Hive>
class Win32Lab {
public:
    Win32Lab()
    {
        static int counter = 0;
        base_ = "Software\\QuorvexTests\\" + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(++counter);
    }
    ~Win32Lab()
    {
        // Give every restricted key back its rights so the tree can go.
        for (const auto& key : restricted_)
            SetKeyDacl(HiveHandle(Hive), key, "D:(A;;KA;;;WD)");
        DeleteTree(HiveHandle(Hive), base_);
    }

    Registry& registry() { return reg_; }
    RegistryHive hive() const { return Hive; }
    std::string base() const { return base_; }

    void Seed(const std::string& key, const std::string& name, MemoryRegistryValue v)
    {
        HKEY raw = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HiveHandle(Hive), key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | kView,
                                  nullptr, &raw, nullptr),
                  ERROR_SUCCESS);
        UniqueRegistryKey handle(raw);
        if (v.type == RegistryType::Dword) {
            DWORD n = v.number;
            RegSetValueExA(raw, name.c_str(), 0, REG_DWORD, reinterpret_cast<BYTE*>(&n), sizeof n);
        } else {
            std::string data = v.text;
            DWORD size = static_cast<DWORD>(data.size());
            if (v.type != RegistryType::Binary)
                ++size;  // the terminating NUL
            RegSetValueExA(raw, name.c_str(), 0, static_cast<DWORD>(v.type),
                           reinterpret_cast<const BYTE*>(data.c_str()), size);
        }
    }

    // Everyone gets `granted`, plus what the clean-up needs (WRITE_DAC and
    // DELETE), which never adds up to full access.
    void Restrict(const std::string& key, std::uint32_t granted)
    {
        char mask[16];
        wsprintfA(mask, "0x%x", granted | WRITE_DAC | DELETE);
        SetKeyDacl(HiveHandle(Hive), key, std::string("D:(A;;") + mask + ";;;WD)");
        restricted_.push_back(key);
    }

    std::optional<MemoryRegistryValue> Raw(const std::string& key, const std::string& name)
    {
        HKEY raw = nullptr;
        if (RegOpenKeyExA(HiveHandle(Hive), key.c_str(), 0, KEY_QUERY_VALUE | kView, &raw) != ERROR_SUCCESS)
            return std::nullopt;
        UniqueRegistryKey handle(raw);
        char data[512] = {};
        DWORD type = 0, size = sizeof data;
        if (RegQueryValueExA(raw, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data),
                             &size) != ERROR_SUCCESS)
            return std::nullopt;
        MemoryRegistryValue v;
        v.type = static_cast<RegistryType>(type);
        if (type == REG_DWORD)
            memcpy(&v.number, data, sizeof v.number);
        else
            v.text = std::string(data, size).c_str();
        return v;
    }

    bool RawKeyExists(const std::string& key)
    {
        HKEY raw = nullptr;
        if (RegOpenKeyExA(HiveHandle(Hive), key.c_str(), 0, KEY_QUERY_VALUE | kView, &raw) != ERROR_SUCCESS)
            return false;
        RegCloseKey(raw);
        return true;
    }

private:
    win32::Win32Registry reg_;
    std::string base_;
    std::vector<std::string> restricted_;
};

using Labs = ::testing::Types<Win32Lab<RegistryHive::CurrentUser>, Win32Lab<RegistryHive::LocalMachine>>;
INSTANTIATE_TYPED_TEST_SUITE_P(Win32, RegistryContract, Labs);

TEST(Win32Registry, DefaultRootIsTheCurrentUserForTheVariantFamilyOnly)
{
    win32::Win32Registry reg;
    Win32Lab<RegistryHive::CurrentUser> lab;
    lab.Seed(lab.base(), "Filename", MemoryRegistryValue{RegistryType::String, "C:\\Q\\q.exe", 0});
    RegistryValue v;
    reg.ReadRegistryValue(RegistryHive::Default, lab.base(), "Filename", v);
    EXPECT_EQ(v, RegistryValue(std::string("C:\\Q\\q.exe")));
    EXPECT_TRUE(reg.RegistryKeyExists(RegistryHive::Default, lab.base()));
    // The string family takes its root as given: no hive, no key.
    EXPECT_EQ(reg.ReadRegistryString(RegistryHive::Default, lab.base(), "Filename"), "");
    EXPECT_THROW(reg.WriteRegistryString(RegistryHive::Default, lab.base(), "x", "y"), Error);
}

// The products are 32-bit programs: their machine-wide keys are in the
// 32-bit view, which both builds read and write. A key written only in the
// 64-bit view is not theirs.
TEST(Win32Registry, MachineKeysAreReadAndWrittenInTheProductsView)
{
    win32::Win32Registry reg;
    const std::string key = "Software\\QuorvexTests\\View-" + std::to_string(GetCurrentProcessId());
    HKEY raw = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | kView,
                              nullptr, &raw, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(raw, "Path", 0, REG_SZ, reinterpret_cast<const BYTE*>("C:\\DB32"), 8);
    RegCloseKey(raw);
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0,
                              KEY_ALL_ACCESS | KEY_WOW64_64KEY, nullptr, &raw, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(raw, "Path", 0, REG_SZ, reinterpret_cast<const BYTE*>("C:\\DB64"), 8);
    RegCloseKey(raw);

    RegistryValue v;
    reg.ReadRegistryValue(RegistryHive::LocalMachine, key, "Path", v);
    EXPECT_EQ(v, RegistryValue(std::string("C:\\DB32")));
    EXPECT_EQ(reg.ReadRegistryString(RegistryHive::LocalMachine, key, "Path"), "C:\\DB32");
    EXPECT_TRUE(reg.WriteRegistryValue(RegistryHive::LocalMachine, key, "Written", std::string("x")));
    reg.WriteRegistryString(RegistryHive::LocalMachine, key + "\\Sub", "Written", "y");
    EXPECT_TRUE(reg.DeleteRegistryKey(RegistryHive::LocalMachine, key + "\\Sub"));

    // The 64-bit view (the same on a 32-bit system) got none of it.
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, &raw),
              ERROR_SUCCESS);
    EXPECT_NE(RegQueryValueExA(raw, "Written", nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
    RegCloseKey(raw);
    DeleteTree(HKEY_LOCAL_MACHINE, key);
    DeleteTree(HKEY_LOCAL_MACHINE, key, KEY_WOW64_64KEY);
}

}  // namespace
}  // namespace qv::test
