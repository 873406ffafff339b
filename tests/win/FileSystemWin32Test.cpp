// The file-system interface on real files under Wine.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include "core/Errors.h"
#include "platform/win32/FileSystemWin32.h"
#include "platform/win32/SystemInfo.h"
#include "platform/win32/Win32Handles.h"
#include "platform/win32/WindowsHelpers.h"
#include "ScratchFolder.h"
#include "support/FileSystemContract.h"

#include <map>
#include <optional>
#include <vector>

namespace qv::win32 {
namespace {

using test::ScratchFolder;

constexpr FileTime kStamp = 132223104001234567ull;  // 2020-01-01, odd 100 ns

std::string ReadAll(const std::string& path)
{
    UniqueFile f(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             0, nullptr));
    std::string data(4096, '\0');
    DWORD n = 0;
    ReadFile(f.get(), data.data(), static_cast<DWORD>(data.size()), &n, nullptr);
    data.resize(n);
    return data;
}

FileTime WriteTimeOf(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
    return ToFileTime(data.ftLastWriteTime);
}

std::string MessageOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const Error& e) {
        return e.Message();
    }
    return "(no error)";
}

class FileSystemWin32Test : public ::testing::Test {
protected:
    InstallerFileServices installer;
    FileSystemWin32 fs{installer};
    ScratchFolder dir;
};

TEST_F(FileSystemWin32Test, PresenceOfFilesFoldersAndMissingPaths)
{
    std::string file = dir.Write("a.txt", "x");
    struct Case {
        std::string path;
        bool file, folder;
    } cases[] = {
        {file, true, false},
        {dir.path(), false, true},
        {dir.path().substr(0, dir.path().size() - 1), false, true},
        {dir / "missing.txt", false, false},
        {dir / "missing\\deeper.txt", false, false},
        {"", false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fs.FileIsPresent(c.path), c.file) << c.path;
        EXPECT_EQ(fs.FolderIsPresent(c.path), c.folder) << c.path;
        EXPECT_EQ(fs.PathIsPresent(c.path), c.file || c.folder) << c.path;
    }
    EXPECT_EQ(fs.TempFolder().back(), '\\');
    EXPECT_NE(fs.DriveLetters().find('C'), std::string::npos);
    EXPECT_EQ(fs.DriveKindOf("C:\\"), DriveKind::Fixed);
    EXPECT_EQ(fs.DriveKindOf("Q:\\"), DriveKind::NoRootDir);
}

TEST_F(FileSystemWin32Test, ReadWholeFileGivesEveryByteOrNamesTheFile)
{
    // Larger than one read, with line ends and NUL bytes kept as they are.
    std::string data;
    for (int i = 0; i < 100000; ++i)
        data += static_cast<char>(i % 251);
    data += "Dupont\r\n\r\nMartin";
    std::string path = dir.Write("multiste.txt", data);
    EXPECT_EQ(fs.ReadWholeFile(path), data);
    EXPECT_EQ(fs.ReadWholeFile(dir.Write("empty.txt", "")), "");
    // Open for writing by someone else: still readable.
    UniqueFile writer(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_EQ(fs.ReadWholeFile(path), data);

    std::string missing = dir / "missing.txt";
    EXPECT_EQ(MessageOf([&] { fs.ReadWholeFile(missing); }).rfind(
                  "Impossible d'ouvrir le fichier " + missing + "\r\n", 0),
              0u);
    EXPECT_EQ(fs.WindowsFolder(), GetWindowsFolder());
    EXPECT_EQ(fs.WindowsFolder().back(), '\\');
}

TEST_F(FileSystemWin32Test, WriteNewFileReplacesOrExplainsAndKeepsWhatWasThere)
{
    std::string path = dir / "new.bin";
    std::string data("a\0b\r\n", 5);
    fs.WriteNewFile(path, data);
    EXPECT_EQ(ReadAll(path), data);
    fs.WriteNewFile(path, "");
    EXPECT_EQ(ReadAll(path), "");

    // A read-only file is not replaced: the error names it and it stays.
    std::string locked = dir.Write("ro.txt", "keep");
    SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_READONLY);
    std::string message = MessageOf([&] { fs.WriteNewFile(locked, "new"); });
    EXPECT_EQ(message.rfind("Impossible de créer le fichier " + locked + "\r\n", 0), 0u) << message;
    EXPECT_EQ(ReadAll(locked), "keep");

    // A file that cannot be replaced but could be stamped: another program
    // reads it while sharing it for writing. Its failure is a creation
    // failure, so nobody stamps it afterwards.
    std::string shared = dir.Write("shared.txt", "keep");
    UniqueFile reader(CreateFileA(shared.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(reader);
    EXPECT_THROW(fs.WriteNewFile(shared, "new"), FileCreationError);
    reader.reset();
    EXPECT_EQ(ReadAll(shared), "keep");
    EXPECT_NE(MessageOf([&] { fs.WriteNewFile(dir / "missing\\x.txt", "x"); }), "(no error)");
}

TEST_F(FileSystemWin32Test, WriteTimeIsExactAndRefusedFilesRaise)
{
    std::string file = dir.Write("t.txt", "x");
    ASSERT_TRUE(fs.SetFileWriteTime(file, kStamp));
    EXPECT_EQ(WriteTimeOf(file), kStamp);  // to the 100 ns
    EXPECT_FALSE(fs.SetFileWriteTime(dir / "missing.txt", kStamp));
    EXPECT_FALSE(fs.SetFileWriteTime(dir.path(), kStamp));

    std::string readOnly = dir.Write("ro.txt", "x");
    SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(MessageOf([&] { fs.SetFileWriteTime(readOnly, kStamp); })
                  .rfind("Erreur système.  Code : 5.\r\n", 0),
              0u);

    // Held open by someone who shares nothing.
    std::string busy = dir.Write("busy.txt", "x");
    UniqueFile holder(CreateFileA(busy.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder);
    EXPECT_EQ(MessageOf([&] { fs.SetFileWriteTime(busy, kStamp); })
                  .rfind("Erreur système.  Code : 32.\r\n", 0),
              0u);
    EXPECT_THROW(fs.RemoveFile(busy), Error);
    holder.reset();
    EXPECT_TRUE(fs.SetFileWriteTime(busy, kStamp));
}

// What the Kalvisto and PDF-library updates ask of the interface.
TEST_F(FileSystemWin32Test, VersionPartsAndTheSharedSystemFolder)
{
    FileVersionParts parts{9, 9, 9, 9};
    ASSERT_TRUE(fs.GetFileVersionParts(test::FixturePath("v3127.dll"), parts));
    EXPECT_EQ(std::vector<int>({parts.major, parts.minor, parts.release, parts.build}),
              std::vector<int>({3, 1, 2, 7}));
    for (const std::string& none : {test::FixturePath("noversion.dll"), dir / "missing.dll"}) {
        FileVersionParts untouched{9, 9, 9, 9};
        EXPECT_FALSE(fs.GetFileVersionParts(none, untouched)) << none;
        EXPECT_EQ(untouched.major, 9) << none;
    }
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, MAX_PATH);
    EXPECT_EQ(fs.SharedSystemFolder(), std::string(system) + "\\");
}

TEST_F(FileSystemWin32Test, CopyClearAttributesDeleteAndFolders)
{
    std::string source = dir.Write("src.txt", "payload");
    ASSERT_TRUE(fs.SetFileWriteTime(source, kStamp));
    std::string target = dir.Write("dst.txt", "old");
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY);

    EXPECT_FALSE(fs.CopyFileOver(source, target));  // read-only target refuses
    EXPECT_EQ(fs.LastFailureMessage().rfind("Erreur système.  Code : 5.\r\n", 0), 0u);
    EXPECT_TRUE(fs.SetNormalAttributes(target));
    EXPECT_TRUE(fs.CopyFileOver(source, target));
    EXPECT_EQ(ReadAll(target), "payload");
    EXPECT_EQ(WriteTimeOf(target), kStamp);
    EXPECT_EQ(GetFileAttributesA(target.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);

    {
        // Held by another program: the reason a failed copy's report line gives.
        UniqueFile holder(CreateFileA(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(holder);
        EXPECT_FALSE(fs.CopyFileOver(source, target));
        EXPECT_EQ(fs.LastFailureMessage().rfind("Erreur système.  Code : 32.\r\n", 0), 0u)
            << fs.LastFailureMessage();
        EXPECT_GT(fs.LastFailureMessage().size(), std::string("Erreur système.  Code : 32.\r\n").size());
    }
    EXPECT_FALSE(fs.CopyFileOver(dir / "missing", target));
    EXPECT_EQ(fs.LastFailureMessage().rfind("Erreur système.  Code : 2.\r\n", 0), 0u);
    EXPECT_FALSE(fs.SetNormalAttributes(dir / "missing"));

    fs.RemoveFile(target);
    EXPECT_FALSE(fs.FileIsPresent(target));
    EXPECT_EQ(MessageOf([&] { fs.RemoveFile(target); }).rfind("Erreur système.  Code : 2.\r\n", 0), 0u);

    EXPECT_TRUE(fs.ForceDirectories(dir / "a\\b\\c\\"));
    EXPECT_TRUE(fs.FolderIsPresent(dir / "a\\b\\c"));
    EXPECT_TRUE(fs.ForceDirectories(dir / "a\\b"));
    EXPECT_FALSE(fs.ForceDirectories(source + "\\sub"));  // a file is in the way
}

// The real file system in a scratch folder, for the cases every file
// system shares with the in-memory ones.
class Win32Lab {
public:
    FileSystem& fs() { return fs_; }
    std::string folder() const { return dir_.path(); }
    void Put(const std::string& path, const std::string& data, FileTime time)
    {
        MakeFolder(path.substr(0, path.find_last_of('\\')));
        UniqueFile f(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                 nullptr));
        ASSERT_TRUE(f) << path;
        DWORD written = 0;
        WriteFile(f.get(), data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
        f.reset();
        ASSERT_TRUE(SetFileWriteTime(path, time)) << path;
    }
    void MakeFolder(const std::string& path)
    {
        for (std::size_t at = folder().size(); at != std::string::npos; at = path.find('\\', at + 1))
            CreateDirectoryA(path.substr(0, at).c_str(), nullptr);
        CreateDirectoryA(path.c_str(), nullptr);
    }
    void MakeReadOnly(const std::string& path) { SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY); }
    void Lock(const std::string& path)
    {
        held_[path].reset(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held_[path]) << path;
    }
    void Unlock(const std::string& path) { held_.erase(path); }
    std::optional<std::string> Read(const std::string& path)
    {
        if (!fs_.FileIsPresent(path))
            return std::nullopt;
        return ReadAll(path);
    }
    FileTime WriteTime(const std::string& path) { return WriteTimeOf(path); }

private:
    ScratchFolder dir_;
    InstallerFileServices installer_;
    FileSystemWin32 fs_{installer_};
    std::map<std::string, UniqueFile> held_;
};

}  // namespace
}  // namespace qv::win32

namespace qv::test {
namespace {
INSTANTIATE_TYPED_TEST_SUITE_P(Win32, FileContract, ::testing::Types<win32::Win32Lab>);
INSTANTIATE_TYPED_TEST_SUITE_P(Win32, FolderContract, ::testing::Types<win32::Win32Lab>);
}  // namespace
}  // namespace qv::test
