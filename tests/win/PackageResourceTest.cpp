// The package linked into a program as resources, read back under Windows:
// every packaged file byte for byte and time for time against the payload
// the build generated, found by FindResourceA under its upper-cased name.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "core/Errors.h"
#include "core/Text.h"
#include "engine/UpdateEngine.h"
#include "platform/PackageFileSource.h"
#include "platform/win32/FileSystemWin32.h"
#include "platform/win32/WindowsHelpers.h"
#include "platform/win32/ResourceEmbeddedSource.h"
#include "platform/win32/InstallerFileServices.h"
#include "support/EngineDoubles.h"

namespace fs = std::filesystem;

namespace qv {
namespace {

std::string ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return std::move(s).str();
}

// The exact last-write time of a file, or 0 when there is none.
std::uint64_t WriteTimeOf(const std::string& path)
{
    FILETIME time;
    return win32::FileWriteTime(path, time) ? win32::ToFileTime(time) : 0;
}

// The real file system, as the program uses it.
struct Win32Files {
    win32::InstallerFileServices installer;
    win32::FileSystemWin32 files{installer};
    test::EngineServices services;  // not reached by these reads
};

// The generated payload: packaged name -> file.
std::map<std::string, fs::path> Payload()
{
    std::map<std::string, fs::path> files;
    const fs::path root = QV_PAYLOAD_DIR;
    for (const auto& item : fs::recursive_directory_iterator(root))
        if (item.is_regular_file()) {
            std::string name = fs::relative(item.path(), root).generic_string();
            for (char& c : name)
                if (c == '/')
                    c = '\\';
            files[name] = item.path();
        }
    return files;
}

TEST(PackageResources, ReadBackByteForByteAndTimeForTime)
{
    auto payload = Payload();
    ASSERT_FALSE(payload.empty());
    win32::ResourceEmbeddedSource resources;
    EXPECT_EQ(resources.Names().size(), payload.size()) << "one resource per payload file";

    Win32Files real;
    UpdateEngine engine(resources, real.files, real.services.registry, real.services.user,
                        real.services.messages, real.services.versions, real.services.workstation);
    std::size_t largest = 0;
    for (const auto& [name, path] : payload) {
        // Asked for as the procedures do: the lower-case relative name.
        auto file = engine.LoadEmbeddedFile(name);
        ASSERT_TRUE(file) << name;
        EXPECT_TRUE(file->payload == ReadAll(path)) << name;
        EXPECT_EQ(file->time, WriteTimeOf(path.string())) << name;
        largest = std::max(largest, file->payload.size());
    }
    // The largest payload file (megabytes, in this build) comes back whole.
    std::uintmax_t largestPayload = 0;
    for (const auto& [name, path] : payload)
        largestPayload = std::max(largestPayload, fs::file_size(path));
    EXPECT_EQ(largest, largestPayload);
    EXPECT_FALSE(engine.LoadEmbeddedFile("gs/date.int"));
    EXPECT_FALSE(engine.LoadEmbeddedFile("Steps.txt"));
    EXPECT_FALSE(engine.LoadEmbeddedFile("#10"));
}

TEST(PackageResources, ExtractedFilesCarryTheStoredTimeTo100ns)
{
    win32::ResourceEmbeddedSource resources;
    Win32Files real;
    FileSystem& files = real.files;
    std::string written;
    {
        UpdateEngine engine(resources, files, real.services.registry, real.services.user,
                            real.services.messages, real.services.versions,
                            real.services.workstation);
        engine.Randomize(GetTickCount());
        for (const char* name : {"gs\\GS-00.int", "images07\\accueil.bmp", "AppInfo2.txt"}) {
            auto stored = engine.LoadEmbeddedFile(name);
            ASSERT_TRUE(stored) << name;
            std::string target = engine.TempFileName(kTempPrefix);
            ASSERT_EQ(engine.WriteEmbeddedFile(name, target), target);
            EXPECT_TRUE(ReadAll(target) == stored->payload) << name;
            EXPECT_EQ(WriteTimeOf(target), stored->time) << name;
            EXPECT_NE(stored->time % 10000000u, 0u) << name << ": a whole second proves nothing";
            written = target;
        }
        EXPECT_TRUE(files.FileIsPresent(written));
    }
    // The engine's destruction removed its temporary files.
    EXPECT_FALSE(files.FileIsPresent(written));
}

TEST(PackageResources, TheExecutableReaderSeesWhatWindowsSees)
{
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    PackageFileSource image(ReadAll(self));
    ASSERT_TRUE(image.IsExecutable());
    win32::ResourceEmbeddedSource resources;
    auto names = image.Names();
    EXPECT_EQ(names.size(), resources.Names().size());
    for (const std::string& name : names) {
        auto fromImage = image.Find(name);
        auto fromWindows = resources.Find(name);
        ASSERT_TRUE(fromImage && fromWindows) << name;
        EXPECT_TRUE(*fromImage == *fromWindows) << name;
    }
}

}  // namespace
}  // namespace qv
