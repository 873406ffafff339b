#include <gtest/gtest.h>

#include "core/WindowsPath.h"

namespace qv {
namespace {

TEST(WindowsPath, ParentFolder)
{
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\A\\B", "C:\\A\\"}, {"C:\\A\\B\\", "C:\\A\\"}, {"C:\\A", "C:\\"},
        {"C:\\", "C:\\"},        {"", ""},                  {"name.txt", "nam"},
        {"\\x", "\\x"},  // a backslash at the first character is never taken
    };
    for (auto [path, parent] : cases)
        EXPECT_EQ(ParentFolder(path), parent) << path;
}

TEST(WindowsPath, Backslashes)
{
    EXPECT_EQ(AddBackslash("C:\\Temp\\"), "C:\\Temp\\");
    EXPECT_EQ(AddBackslash("C:\\Temp"), "C:\\Temp\\");
    EXPECT_EQ(AddBackslash(""), "");
    EXPECT_EQ(WithoutBackslash("C:\\A\\"), "C:\\A");
    EXPECT_EQ(WithoutBackslash("C:\\"), "C:\\");
    EXPECT_EQ(WithoutBackslash(""), "");
    EXPECT_EQ(ExtractFileName("C:\\Quorvex5\\gs\\GS-00.int"), "GS-00.int");
    EXPECT_EQ(ExtractFileName("plain"), "plain");
    EXPECT_EQ(ExtractFilePath("D:\\Moved\\Dravik.exe"), "D:\\Moved\\");
    EXPECT_EQ(ExtractFilePath("C:Dravik.exe"), "C:");
    EXPECT_EQ(ExtractFilePath("Dravik.exe"), "");
}

}  // namespace
}  // namespace qv
