// The in-memory registry passes the same cases as the real one.
#include "support/MemoryRegistry.h"
#include "support/RegistryContract.h"

namespace qv::test {
namespace {

class MemoryLab {
public:
    Registry& registry() { return reg_; }
    RegistryHive hive() const { return RegistryHive::LocalMachine; }
    std::string base() const { return "SOFTWARE\\QUORVEX S.A.\\Tests"; }
    void Seed(const std::string& key, const std::string& name, MemoryRegistryValue v)
    {
        reg_.Seed(hive(), key, name, std::move(v));
    }
    void Restrict(const std::string& key, std::uint32_t granted) { reg_.Restrict(hive(), key, granted); }
    std::optional<MemoryRegistryValue> Raw(const std::string& key, const std::string& name)
    {
        const MemoryRegistryValue* v = reg_.Find(hive(), key, name);
        return v ? std::optional<MemoryRegistryValue>(*v) : std::nullopt;
    }
    bool RawKeyExists(const std::string& key) { return reg_.HasKey(hive(), key); }

private:
    MemoryRegistry reg_;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Memory, RegistryContract, ::testing::Types<MemoryLab>);

}  // namespace
}  // namespace qv::test
