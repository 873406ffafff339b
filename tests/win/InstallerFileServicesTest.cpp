// The installer helper on real files: version resources made by the build,
// time stamps set by the test.
#include <gtest/gtest.h>
#include <windows.h>

#include <set>
#include <vector>

#include "core/Errors.h"
#include "platform/win32/SystemInfo.h"
#include "platform/win32/WindowsHelpers.h"
#include "platform/win32/InstallerFileServices.h"
#include "ProgramVersion.h"
#include "ScratchFolder.h"

namespace qv::win32 {
namespace {

using test::FixturePath;
using test::ScratchFolder;

constexpr FileTime kHour = 36000000000ull;
constexpr FileTime kJan2020 = 132223104000000000ull;  // 2020-01-01 00:00 UTC

TEST(InstallerFileServices, CompareFilesDecidesByVersionThenByTime)
{
    ScratchFolder dir;
    InstallerFileServices installer;
    // Fixtures copied and stamped: the same version at different times, and
    // unversioned files around one time.
    auto stamp = [&](const std::string& fixture, const std::string& name, FileTime t) {
        std::string p = dir.CopyFixture(fixture, name);
        EXPECT_TRUE(SetFileWriteTime(p, t)) << p;
        return p;
    };
    std::string v1039 = stamp("v1039.dll", "a1039.dll", kJan2020 + kHour);
    std::string v1040 = stamp("v1040.dll", "a1040.dll", kJan2020);
    std::string v1040late = stamp("v1040b.dll", "b1040.dll", kJan2020 + 5 * kHour);
    std::string v3127 = stamp("v3127.dll", "a3127.dll", kJan2020);
    std::string plain = stamp("noversion.dll", "plain.dll", kJan2020 + 2 * kHour);
    std::string plainSame = stamp("noversion.dll", "plain2.dll", kJan2020 + 2 * kHour);
    std::string plainEarly = stamp("noversion.dll", "plain3.dll", kJan2020);
    CreateDirectoryA((dir / "folder.dll").c_str(), nullptr);

    struct Case {
        std::string installed, packaged;
        int expected;
    } cases[] = {
        {v1039, v1040, 1},        // packaged newer, although stamped earlier
        {v1040, v1039, -1},
        {v1040, v1040late, 0},    // same version: the times are not looked at
        {v3127, v1040, -1},
        {v1040, v3127, 1},
        {plain, v1040, -1},       // one version only: times decide
        {plainEarly, v1040late, 1},
        {plain, plainSame, 0},
        {plain, plainEarly, -1},
        {dir / "missing.dll", v1040, 1},
        {dir / "folder.dll", v1040, 1},  // a folder is no installed file
    };
    for (const auto& c : cases)
        EXPECT_EQ(installer.CompareFiles(c.installed, c.packaged), c.expected)
            << c.installed << " <- " << c.packaged;

    try {
        installer.CompareFiles(v1040, dir / "gone.dll");
        ADD_FAILURE();
    } catch (const Error& e) {
        EXPECT_EQ(e.Message(), "File not found : " + (dir / "gone.dll"));
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
