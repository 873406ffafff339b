// The in-memory file systems pass the same cases as the real one.
#include <type_traits>

#include "support/EngineFileSystem.h"
#include "support/FileSystemContract.h"
#include "support/MemoryFileSystem.h"

namespace qv::test {
namespace {

template <typename Files>
class InMemoryLab {
public:
    InMemoryLab() { MakeFolder(folder()); }
    FileSystem& fs() { return files_; }
    std::string folder() const { return "C:\\LAB\\"; }
    void Put(const std::string& path, const std::string& data, FileTime time)
    {
        MakeFolder(ParentFolder(path));
        files_.Put(path, data).writeTime = time;
    }
    void MakeFolder(const std::string& path)
    {
        if constexpr (std::is_same_v<Files, EngineFileSystem>)
            files_.AddFolder(path);
    }
    void MakeReadOnly(const std::string& path) { files_.files.at(UpperAscii(path)).readOnly = true; }
    void Lock(const std::string& path) { files_.files.at(UpperAscii(path)).locked = true; }
    void Unlock(const std::string& path) { files_.files.at(UpperAscii(path)).locked = false; }
    std::optional<std::string> Read(const std::string& path)
    {
        const MemoryFile* f = files_.Get(path);
        return f ? std::optional<std::string>(f->data) : std::nullopt;
    }
    FileTime WriteTime(const std::string& path) { return files_.Get(path)->writeTime; }

private:
    Files files_;
};

using MemoryLab = InMemoryLab<MemoryFileSystem>;
using EngineLab = InMemoryLab<EngineFileSystem>;

using InMemoryLabs = ::testing::Types<MemoryLab, EngineLab>;
INSTANTIATE_TYPED_TEST_SUITE_P(Memory, FileContract, InMemoryLabs);
INSTANTIATE_TYPED_TEST_SUITE_P(Engine, FolderContract, ::testing::Types<EngineLab>);

}  // namespace
}  // namespace qv::test
