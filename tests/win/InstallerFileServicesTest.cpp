// The installer helper on real files: version resources made by the build,
// time stamps set by the test.
#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <set>
#include <vector>

#include "core/Errors.h"
#include "platform/win32/SystemInfo.h"
#include "platform/win32/WindowsHelpers.h"
#include "platform/win32/FileSystemWin32.h"
#include "platform/win32/InstallerFileServices.h"
#include "ProgramVersion.h"
#include "ScratchFolder.h"

namespace qv::win32 {
namespace {

using test::FixturePath;
using test::ScratchFolder;

constexpr FileTime kHour = 36000000000ull;
constexpr FileTime kJan2020 = 132223104000000000ull;  // 2020-01-01 00:00 UTC

// What the version-then-date rule compares, read from real files: the
// fixtures' versions and the times the test stamped, files only.
TEST(InstallerFileServices, ReadsTheVersionsAndTimesTheRuleCompares)
{
    ScratchFolder dir;
    InstallerFileServices installer;
    FileSystemWin32 files(installer);
    auto stamp = [&](const std::string& fixture, const std::string& name, FileTime t) {
        std::string p = dir.CopyFixture(fixture, name);
        EXPECT_TRUE(SetFileWriteTime(p, t)) << p;
        return p;
    };
    struct Case {
        std::string path;
        std::optional<std::vector<int>> version;
        FileTime time;
    } cases[] = {
        {stamp("v1039.dll", "a1039.dll", kJan2020 + kHour), std::vector<int>{1, 0, 3, 9}, kJan2020 + kHour},
        {stamp("v1040.dll", "a1040.dll", kJan2020), std::vector<int>{1, 0, 4, 0}, kJan2020},
        {stamp("v1040b.dll", "b1040.dll", kJan2020 + 5 * kHour), std::vector<int>{1, 0, 4, 0},
         kJan2020 + 5 * kHour},
        {stamp("v3127.dll", "a3127.dll", kJan2020), std::vector<int>{3, 1, 2, 7}, kJan2020},
        {stamp("noversion.dll", "plain.dll", kJan2020 + 2 * kHour), std::nullopt, kJan2020 + 2 * kHour},
    };
    for (const auto& c : cases) {
        FileVersionParts parts;
        ASSERT_EQ(files.GetFileVersionParts(c.path, parts), c.version.has_value()) << c.path;
        if (c.version) {
            EXPECT_EQ((std::vector<int>{parts.major, parts.minor, parts.release, parts.build}),
                      *c.version) << c.path;
        }
        FileTime time = 0;
        ASSERT_TRUE(files.GetFileWriteTime(c.path, time)) << c.path;
        EXPECT_EQ(time, c.time) << c.path;
    }

    CreateDirectoryA((dir / "folder.dll").c_str(), nullptr);
    for (const std::string& none : {dir / "missing.dll", dir / "folder.dll"}) {
        FileTime time = 7;
        EXPECT_FALSE(files.FileIsPresent(none)) << none;
        EXPECT_FALSE(files.GetFileWriteTime(none, time)) << none;
        EXPECT_EQ(time, 7u) << none;
    }
}

TEST(InstallerFileServices, VersionPartsAndRecords)
{
    InstallerFileServices installer;
    std::uint16_t major = 99, minor = 99, release = 99, build = 99;
    ASSERT_TRUE(installer.GetFileVersionParts(FixturePath("v3127.dll"), major, minor, release, build));
    EXPECT_EQ((std::vector<int>{major, minor, release, build}), (std::vector<int>{3, 1, 2, 7}));
    EXPECT_FALSE(installer.GetFileVersionParts(FixturePath("noversion.dll"), major, minor, release, build));
    EXPECT_EQ(major, 3);  // untouched

    VS_FIXEDFILEINFO info;
    ASSERT_TRUE(FileFixedVersionInfo(FixturePath("v1040.dll"), info));
    EXPECT_EQ(info.dwSignature, 0xFEEF04BDu);
    std::uint32_t ms = 0, ls = 0;
    ASSERT_TRUE(FileVersionNumber(FixturePath("v1039.dll"), ms, ls));
    EXPECT_EQ(ms, 0x00010000u);
    EXPECT_EQ(ls, 0x00030009u);
    EXPECT_FALSE(FileVersionNumber("C:\\no\\such.dll", ms, ls));

    FileVersionRecord r = GetFileVersionRecord(FixturePath("v3127.dll"));
    EXPECT_EQ(r.LangId, "040C");
    EXPECT_EQ(r.CodePage, "04E4");
    EXPECT_FALSE(r.LanguageName.empty());
    EXPECT_EQ(r.FileVersion, "3.1.2.7");
    EXPECT_EQ(r.CompanyName, "Quorvex fixtures");
    EXPECT_EQ(r.OriginalFilename, "v3127.dll");
    EXPECT_EQ(r.Comments, "made by the build");
    EXPECT_EQ(r.LegalTrademarks, "");  // not in the resource

    // The test program carries the version of this build.
    EXPECT_EQ(GetFileVersionRecord("").FileVersion, QV_VERSION_TEXT);

    FileVersionRecord none = GetFileVersionRecord(FixturePath("noversion.dll"));
    EXPECT_EQ(none.LangId + none.CodePage + none.FileVersion + none.CompanyName, "");
}

TEST(InstallerFileServices, FoldersAndPresence)
{
    ScratchFolder dir;
    InstallerFileServices installer;
    std::string file = dir.Write("f.txt", "x");

    std::string temp = installer.TempFolder();
    EXPECT_EQ(temp.back(), '\\');
    EXPECT_TRUE(installer.PathIsPresent(temp));
    std::string windows = GetWindowsFolder();
    EXPECT_EQ(windows.back(), '\\');
    EXPECT_EQ(SystemFolder().back() == '\\', false);
    // Under the Windows folder, the system folder is used as it is.
    EXPECT_EQ(installer.SharedSystemFolder(), SystemFolder() + "\\");
    // Outside it: kept when writable, else the Windows folder.
    EXPECT_EQ(installer.ChooseSharedFolder(windows, dir.path()), dir.path());
    EXPECT_EQ(installer.ChooseSharedFolder(windows, dir / "missing"), windows);

    struct Case {
        std::string path;
        bool file, present;
    } cases[] = {
        {file, true, true},
        {dir.path(), false, true},
        {dir / "missing", false, false},
        {"", false, false},
        {"Q:\\nothing\\here", false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(installer.FileIsPresent(c.path), c.file) << c.path;
        EXPECT_EQ(installer.PathIsPresent(c.path), c.present) << c.path;
    }
    EXPECT_EQ(installer.PathAttributes(dir / "missing"), 0xFFFFFFFFu);
    EXPECT_TRUE(installer.PathAttributes(dir.path()) & FILE_ATTRIBUTE_DIRECTORY);
}

TEST(InstallerFileServices, UniqueFileNamesAvoidEveryExistingName)
{
    ScratchFolder dir;
    InstallerFileServices installer;
    std::string name = installer.UniqueFileName(dir.path().substr(0, dir.path().size() - 1), ".tmp");
    ASSERT_EQ(name.size(), dir.path().size() + 3 + 5 + 4) << name;
    EXPECT_EQ(name.substr(0, dir.path().size() + 3), dir.path() + "is-");
    for (char c : name.substr(dir.path().size() + 3, 5))
        EXPECT_NE(std::string(kBase32Alphabet).find(c), std::string::npos) << name;
    EXPECT_EQ(name.substr(name.size() - 4), ".tmp");

    // Names in use, by files or folders, are skipped.
    std::set<std::string> seen;
    for (int i = 0; i < 50; ++i) {
        std::string n = installer.UniqueFileName(dir.path(), "");
        EXPECT_FALSE(installer.PathIsPresent(n));
        EXPECT_TRUE(seen.insert(n).second);
        if (i % 2)
            CreateDirectoryA(n.c_str(), nullptr);
        else
            dir.Write(n.substr(dir.path().size()), "");
    }
}

TEST(InstallerFileServices, WriteTimesOfFilesOnly)
{
    ScratchFolder dir;
    std::string file = dir.Write("f.txt", "x");
    ASSERT_TRUE(SetFileWriteTime(file, kJan2020 + 1234567));  // odd 100-ns count
    FILETIME t;
    ASSERT_TRUE(FileWriteTime(file, t));
    EXPECT_EQ(ToFileTime(t), kJan2020 + 1234567);
    ASSERT_TRUE(FileWriteTime(dir / "f.*", t));  // the path is a search pattern
    FILETIME local;
    ASSERT_TRUE(FileLocalWriteTime(file, local));
    FILETIME expected;
    FileTimeToLocalFileTime(&t, &expected);
    EXPECT_EQ(ToFileTime(local), ToFileTime(expected));

    EXPECT_FALSE(FileWriteTime(dir.path().substr(0, dir.path().size() - 1), t));
    EXPECT_EQ(ToFileTime(t), 0u);
    EXPECT_FALSE(FileLocalWriteTime(dir / "missing", t));
    EXPECT_EQ(ToFileTime(t), 0u);
}

}  // namespace
}  // namespace qv::win32
