#pragma once
// The behaviour every FileSystem must show, as typed GoogleTest cases. The
// in-memory file systems and the real one run the same cases, so the fakes
// the engine's tests rely on cannot drift from Windows.
//
// A Lab gives a FileSystem and a fresh, existing folder for one test, and
// lets the test arrange and inspect the files beneath the interface:
//   FileSystem& fs(); std::string folder();   // with a trailing backslash
//   void Put(path, data, FileTime);           // parents created as needed
//   void MakeFolder(path);
//   void MakeReadOnly(path);
//   void Lock(path); void Unlock(path);       // held open, sharing nothing
//   std::optional<std::string> Read(path);    // nullopt when missing
//   FileTime WriteTime(path);
//
// FileContract holds for every file system; FolderContract for those that
// know folders, copies and drives (not the plain MemoryFileSystem).
//
// Error texts are compared up to the system's own text, which depends on
// the language of Windows: the code and what the program writes around it.
// A locked file cannot be read by anyone, the lab included: its contents
// are checked once it is unlocked.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

#include "core/Errors.h"
#include "core/Format.h"
#include "core/Texts.h"
#include "platform/FileSystem.h"

namespace qv::test {

constexpr FileTime kContractStamp = 132223104001234567ull;  // 2020-01-01, odd 100 ns
constexpr FileTime kEarlier = 131907744000000000ull;        // 2019-01-01

template <typename Lab>
class FileSystemCases : public ::testing::Test {
protected:
    Lab lab;
    FileSystem& fs() { return lab.fs(); }
    std::string At(const std::string& name) { return lab.folder() + name; }

    static std::string MessageOf(const std::function<void()>& f)
    {
        try {
            f();
        } catch (const Error& e) {
            return e.Message();
        }
        return "(no error)";
    }
    static std::string SystemErrorPrefix(int code)
    {
        return "Erreur système.  Code : " + std::to_string(code) + ".\r\n";
    }
    static bool StartsWith(const std::string& text, const std::string& start)
    {
        return text.rfind(start, 0) == 0;
    }
};

template <typename Lab>
class FileContract : public FileSystemCases<Lab> {};
TYPED_TEST_SUITE_P(FileContract);

TYPED_TEST_P(FileContract, PresenceOfFilesAndMissingPaths)
{
    const std::string file = this->At("a.txt");
    this->lab.Put(file, "x", kContractStamp);
    EXPECT_TRUE(this->fs().FileIsPresent(file));
    EXPECT_TRUE(this->fs().PathIsPresent(file));
    EXPECT_FALSE(this->fs().FolderIsPresent(file));
    for (const std::string& missing : {this->At("missing.txt"), this->At("missing\\deeper.txt"), std::string()}) {
        EXPECT_FALSE(this->fs().FileIsPresent(missing)) << missing;
        EXPECT_FALSE(this->fs().PathIsPresent(missing)) << missing;
    }
    EXPECT_EQ(this->fs().TempFolder().back(), '\\');
}

TYPED_TEST_P(FileContract, WriteNewFileCreatesOrReplacesWithTheExactBytes)
{
    const std::string path = this->At("new.bin");
    const std::string data("a\0b\r\n\xFF", 6);
    this->fs().WriteNewFile(path, data);
    EXPECT_EQ(this->lab.Read(path), data);
    this->fs().WriteNewFile(path, "");
    EXPECT_EQ(this->lab.Read(path), "");
}

TYPED_TEST_P(FileContract, WriteNewFileRefusesAProtectedFileNamingItAndKeepsIt)
{
    const std::string readOnly = this->At("ro.txt"), locked = this->At("locked.txt");
    this->lab.Put(readOnly, "keep", kContractStamp);
    this->lab.MakeReadOnly(readOnly);
    this->lab.Put(locked, "keep", kContractStamp);
    this->lab.Lock(locked);
    for (const std::string& path : {readOnly, locked}) {
        const std::string message = this->MessageOf([&] { this->fs().WriteNewFile(path, "new"); });
        EXPECT_TRUE(this->StartsWith(message, Format(texts::kFileCreateFailed, {path}) + "\r\n"))
            << message;
    }
    this->lab.Unlock(locked);
    EXPECT_EQ(this->lab.Read(readOnly), "keep");
    EXPECT_EQ(this->lab.Read(locked), "keep");
}

TYPED_TEST_P(FileContract, CreateNewFileMakesAnEmptyFileOnlyWhereNothingIs)
{
    const std::string fresh = this->At("fresh.tmp");
    EXPECT_TRUE(this->fs().CreateNewFile(fresh));
    EXPECT_EQ(this->lab.Read(fresh), "");
    EXPECT_FALSE(this->fs().CreateNewFile(fresh)) << "made twice";

    // What is there, protected or not, is never opened: bytes and time stay.
    const std::string other = this->At("other.tmp"), locked = this->At("locked.tmp");
    this->lab.Put(other, "someone else's", kEarlier);
    this->lab.Put(locked, "someone else's", kEarlier);
    this->lab.Lock(locked);
    for (const std::string& path : {other, locked})
        EXPECT_FALSE(this->fs().CreateNewFile(path)) << path;
    this->lab.Unlock(locked);
    for (const std::string& path : {other, locked}) {
        EXPECT_EQ(this->lab.Read(path), "someone else's") << path;
        EXPECT_EQ(this->lab.WriteTime(path), kEarlier) << path;
    }
}

TYPED_TEST_P(FileContract, SetFileWriteTimeIsExactFalseForNothingAndRaisesWhenRefused)
{
    const std::string file = this->At("t.txt");
    this->lab.Put(file, "x", kEarlier);
    ASSERT_TRUE(this->fs().SetFileWriteTime(file, kContractStamp));
    EXPECT_EQ(this->lab.WriteTime(file), kContractStamp);  // to the 100 ns
    EXPECT_EQ(this->lab.Read(file), "x");
    EXPECT_FALSE(this->fs().SetFileWriteTime(this->At("missing.txt"), kContractStamp));

    const std::string readOnly = this->At("ro.txt"), busy = this->At("busy.txt");
    this->lab.Put(readOnly, "x", kEarlier);
    this->lab.MakeReadOnly(readOnly);
    this->lab.Put(busy, "x", kEarlier);
    this->lab.Lock(busy);
    const struct {
        std::string path;
        int code;
    } refusals[] = {{readOnly, 5}, {busy, 32}};
    for (const auto& r : refusals) {
        const std::string message = this->MessageOf([&] { this->fs().SetFileWriteTime(r.path, kContractStamp); });
        EXPECT_TRUE(this->StartsWith(message, this->SystemErrorPrefix(r.code))) << r.path << ": " << message;
        EXPECT_EQ(this->lab.WriteTime(r.path), kEarlier) << r.path;
    }
    this->lab.Unlock(busy);
    EXPECT_TRUE(this->fs().SetFileWriteTime(busy, kContractStamp));
}

TYPED_TEST_P(FileContract, RemoveFileDeletesOrRaisesTheSystemErrorAndKeepsTheFile)
{
    const std::string file = this->At("a.txt"), readOnly = this->At("ro.txt"), busy = this->At("busy.txt");
    this->lab.Put(file, "x", kEarlier);
    this->fs().RemoveFile(file);
    EXPECT_FALSE(this->lab.Read(file));

    this->lab.Put(readOnly, "x", kEarlier);
    this->lab.MakeReadOnly(readOnly);
    this->lab.Put(busy, "x", kEarlier);
    this->lab.Lock(busy);
    const struct {
        std::string path;
        int code;
    } refusals[] = {{file, 2}, {readOnly, 5}, {busy, 32}};
    for (const auto& r : refusals) {
        const std::string message = this->MessageOf([&] { this->fs().RemoveFile(r.path); });
        EXPECT_TRUE(this->StartsWith(message, this->SystemErrorPrefix(r.code))) << r.path << ": " << message;
    }
    this->lab.Unlock(busy);
    EXPECT_EQ(this->lab.Read(readOnly), "x");
    EXPECT_EQ(this->lab.Read(busy), "x");
}

REGISTER_TYPED_TEST_SUITE_P(FileContract, PresenceOfFilesAndMissingPaths,
                            WriteNewFileCreatesOrReplacesWithTheExactBytes,
                            WriteNewFileRefusesAProtectedFileNamingItAndKeepsIt,
                            CreateNewFileMakesAnEmptyFileOnlyWhereNothingIs,
                            SetFileWriteTimeIsExactFalseForNothingAndRaisesWhenRefused,
                            RemoveFileDeletesOrRaisesTheSystemErrorAndKeepsTheFile);

template <typename Lab>
class FolderContract : public FileSystemCases<Lab> {};
TYPED_TEST_SUITE_P(FolderContract);

TYPED_TEST_P(FolderContract, FoldersWithOrWithoutTheirBackslash)
{
    const std::string folder = this->At("sub");
    this->lab.MakeFolder(folder);
    for (const std::string& path : {folder, folder + "\\", this->lab.folder()}) {
        EXPECT_TRUE(this->fs().FolderIsPresent(path)) << path;
        EXPECT_TRUE(this->fs().PathIsPresent(path)) << path;
        EXPECT_FALSE(this->fs().FileIsPresent(path)) << path;
    }
    EXPECT_FALSE(this->fs().FolderIsPresent(this->At("missing")));
}

TYPED_TEST_P(FolderContract, WriteNewFileInAMissingFolderRaisesNamingTheFile)
{
    const std::string path = this->At("missing\\x.txt");
    const std::string message = this->MessageOf([&] { this->fs().WriteNewFile(path, "x"); });
    EXPECT_TRUE(this->StartsWith(message, Format(texts::kFileCreateFailed, {path}) + "\r\n")) << message;
    EXPECT_FALSE(this->fs().FolderIsPresent(this->At("missing")));
}

TYPED_TEST_P(FolderContract, CreateNewFileTakesNoFolderNameAndNamesTheFileItCannotMake)
{
    const std::string folder = this->At("sub.tmp");
    this->lab.MakeFolder(folder);
    EXPECT_FALSE(this->fs().CreateNewFile(folder));
    EXPECT_TRUE(this->fs().FolderIsPresent(folder));

    const std::string path = this->At("missing\\x.tmp");
    try {
        this->fs().CreateNewFile(path);
        ADD_FAILURE() << "made in a missing folder";
    } catch (const FileCreationError& e) {
        EXPECT_TRUE(this->StartsWith(e.Message(), Format(texts::kFileCreateFailed, {path}) + "\r\n"))
            << e.Message();
    }
}

TYPED_TEST_P(FolderContract, CopyFileOverKeepsBytesAndTimeOrFailsWithTheSystemError)
{
    const std::string source = this->At("src.txt"), target = this->At("dst.txt");
    this->lab.Put(source, "payload", kContractStamp);
    this->lab.Put(target, "old", kEarlier);
    this->lab.MakeReadOnly(target);
    const std::string busy = this->At("busy.txt");
    this->lab.Put(busy, "old", kEarlier);
    this->lab.Lock(busy);
    const struct {
        std::string from, to;
        int code;
    } refusals[] = {
        {source, target, 5},                          // a read-only target
        {source, busy, 32},                           // a target in use
        {this->At("missing.txt"), target, 2},         // no source
        {source, this->At("missing\\dst.txt"), 3},   // no target folder
    };
    for (const auto& r : refusals) {
        EXPECT_FALSE(this->fs().CopyFileOver(r.from, r.to)) << r.from << " -> " << r.to;
        EXPECT_TRUE(this->StartsWith(this->fs().LastFailureMessage(), this->SystemErrorPrefix(r.code)))
            << r.from << " -> " << r.to << ": " << this->fs().LastFailureMessage();
    }
    this->lab.Unlock(busy);
    EXPECT_EQ(this->lab.Read(target), "old");
    EXPECT_EQ(this->lab.Read(busy), "old");

    EXPECT_TRUE(this->fs().SetNormalAttributes(target));
    EXPECT_FALSE(this->fs().SetNormalAttributes(this->At("missing.txt")));
    ASSERT_TRUE(this->fs().CopyFileOver(source, target));
    EXPECT_EQ(this->lab.Read(target), "payload");
    EXPECT_EQ(this->lab.WriteTime(target), kContractStamp);
    EXPECT_TRUE(this->fs().SetFileWriteTime(target, 7)) << "the copy is writable";
}

TYPED_TEST_P(FolderContract, ForceDirectoriesMakesEveryLevelUnlessAFileIsInTheWay)
{
    EXPECT_TRUE(this->fs().ForceDirectories(this->At("a\\b\\c\\")));
    EXPECT_TRUE(this->fs().FolderIsPresent(this->At("a\\b\\c")));
    EXPECT_TRUE(this->fs().FolderIsPresent(this->At("a")));
    EXPECT_TRUE(this->fs().ForceDirectories(this->At("a\\b")));  // already there
    const std::string file = this->At("f.txt");
    this->lab.Put(file, "x", kEarlier);
    EXPECT_FALSE(this->fs().ForceDirectories(file + "\\sub"));
    EXPECT_FALSE(this->fs().ForceDirectories(file));
    EXPECT_FALSE(this->fs().FolderIsPresent(file + "\\sub"));
}

TYPED_TEST_P(FolderContract, WriteTimesOfFilesOnly)
{
    const std::string file = this->At("p.dll");
    this->lab.Put(file, "x", kEarlier);
    FileTime time = 7;
    ASSERT_TRUE(this->fs().GetFileWriteTime(file, time));
    EXPECT_EQ(time, kEarlier);  // to the 100 ns
    time = 7;
    EXPECT_FALSE(this->fs().GetFileWriteTime(this->At("missing.dll"), time));
    this->lab.MakeFolder(this->At("folder.dll"));
    EXPECT_FALSE(this->fs().GetFileWriteTime(this->At("folder.dll"), time)) << "a folder is no file";
    EXPECT_EQ(time, 7u);  // untouched
}

TYPED_TEST_P(FolderContract, DrivesByLetterAndKind)
{
    EXPECT_NE(this->fs().DriveLetters().find('C'), std::string::npos);
    EXPECT_EQ(this->fs().DriveKindOf("C:\\"), DriveKind::Fixed);
    EXPECT_EQ(this->fs().DriveKindOf("c:\\"), DriveKind::Fixed);
    EXPECT_EQ(this->fs().DriveKindOf("Q:\\"), DriveKind::NoRootDir);
}

REGISTER_TYPED_TEST_SUITE_P(FolderContract, FoldersWithOrWithoutTheirBackslash,
                            WriteNewFileInAMissingFolderRaisesNamingTheFile,
                            CreateNewFileTakesNoFolderNameAndNamesTheFileItCannotMake,
                            CopyFileOverKeepsBytesAndTimeOrFailsWithTheSystemError,
                            ForceDirectoriesMakesEveryLevelUnlessAFileIsInTheWay,
                            WriteTimesOfFilesOnly,
                            DrivesByLetterAndKind);

}  // namespace qv::test
