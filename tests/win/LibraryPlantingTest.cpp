// Libraries loaded by name come from the system folder only. This program
// runs from a folder where a fake gds32.dll, fbclient.dll, riched20.dll and
// version.dll lie beside it, and in a current folder holding the same; the fake
// carries a client version the connection module would accept and records
// in the environment when it is loaded.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "core/Errors.h"
#include "core/Text.h"
#include "core/Texts.h"
#include "database/ClientLibrary.h"
#include "database/ProductDatabase.h"
#include "database/FirebirdApi.h"
#include "database/VersionSource.h"
#include "database/Workstation.h"
#include "platform/win32/SystemInfo.h"
#include "platform/win32/SystemLibrary.h"
#include "platform/win32/WindowsHelpers.h"
#include "platform/win32/InstallerFileServices.h"
#include "support/ScriptedInteraction.h"
#include "ui/RichText.h"

namespace qv {
namespace {

constexpr char kPlantedVersion[] = "WI-V6.3.2.4731";

std::string ProgramFolder()
{
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string p = path;
    return p.substr(0, p.find_last_of('\\') + 1);
}

std::string CurrentFolder()
{
    char path[MAX_PATH] = {};
    ::GetCurrentDirectoryA(MAX_PATH, path);
    return std::string(path) + "\\";
}

// Where the planted DLL was loaded from, or "".
std::string PlantedLoad()
{
    char path[MAX_PATH] = {};
    DWORD n = ::GetEnvironmentVariableA("QV_PLANTED_DLL_LOADED", path, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::string(path) : std::string();
}

std::string ModulePath(const char* name)
{
    HMODULE module = ::GetModuleHandleA(name);
    if (!module)
        return {};
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(module, path, MAX_PATH);
    return path;
}

bool IsFile(const std::string& path)
{
    DWORD a = ::GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

class PlantedLibraries : public testing::Test {
protected:
    void SetUp() override
    {
        // The scene: the fakes are where a download folder would hold them,
        // and they would pass the client gate.
        for (const std::string& folder : {ProgramFolder(), CurrentFolder()})
            for (const char* name : {"gds32.dll", "fbclient.dll", "riched20.dll", "version.dll"})
                ASSERT_TRUE(IsFile(folder + name)) << folder << name;
        ASSERT_NE(ProgramFolder(), CurrentFolder());
        ASSERT_EQ(win32::FileVersionText(ProgramFolder() + "gds32.dll"), kPlantedVersion);
        ASSERT_TRUE(ProductDatabase::IsKnownClientVersion(kPlantedVersion));
        ASSERT_FALSE(IsFile(win32::SystemLibraryPath("gds32.dll"))) << "a client in the prefix";
        ASSERT_EQ(PlantedLoad(), "");
    }
};

TEST_F(PlantedLibraries, TheFirebirdClientComesOnlyFromTheSystemFolder)
{
    // The gate reads the system folder's client, which is not there.
    auto versions = MakeFirebirdVersionSource();
    EXPECT_EQ(versions->ClientVersion(), "?");

    // A product database is refused by the gate...
    test::ScriptedInteraction ui;
    auto workstation = MakeWorkstation(ui);
    {
        ProductDatabase module(ui, *versions, *workstation);
        module.SetDatabaseIdentity(1, "TVP_PRO", "Base", "Updater");
        module.SetConnectionParams(R"(localhost:C:\QUORVEX\DB\TVP.FDB)", "", "", "");
        try {
            module.ConnectAsProduct();
            ADD_FAILURE() << "connected";
        } catch (const Error& e) {
            EXPECT_EQ(e.Message(), std::string(texts::kClientVersionUnknown) + "\r\n\r\n?");
        }
    }
    // ...and a client asked for directly is not found.
    for (const std::string& name : fb::ClientLibraryNames())
        EXPECT_EQ(fb::OpenLibrary(name), nullptr) << name;
    EXPECT_THROW(fb::Client(), Error);
    EXPECT_EQ(fb::LoadedClient(), nullptr);
    EXPECT_EQ(ModulePath("gds32.dll"), "");
    EXPECT_EQ(ModulePath("fbclient.dll"), "");
    EXPECT_EQ(PlantedLoad(), "");
}

TEST_F(PlantedLibraries, TheRichEditComesFromTheSystemFolder)
{
    HWND parent = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                                    nullptr, nullptr);
    ASSERT_TRUE(parent);
    EXPECT_TRUE(wizard::CreateRichViewer(parent, 1, 0));
    ::DestroyWindow(parent);
    EXPECT_EQ(PlantedLoad(), "");
    EXPECT_EQ(UpperAscii(ModulePath("riched20.dll")),
              UpperAscii(win32::SystemLibraryPath("riched20.dll")));
}

TEST_F(PlantedLibraries, VersionsAreReadWithTheSystemFoldersVersionLibrary)
{
    // SetUp has read a version already. The program does not import the
    // library either, which would have found the fake at start. (Wine may
    // name its own copy after a file found on the search path, so the
    // module's path tells nothing here; the fake's code not running does.)
    win32::FileVersionRecord record = win32::GetFileVersionRecord(ProgramFolder() + "gds32.dll");
    EXPECT_EQ(record.FileVersion, kPlantedVersion);
    EXPECT_NE(record.LanguageName, "");
    EXPECT_EQ(PlantedLoad(), "");
}

TEST_F(PlantedLibraries, TheFakeIsLoadedByAPlainSearch)
{
    // What the tests above guard against: the ordinary search order finds
    // the fake first.
    HMODULE fake = ::LoadLibraryA("gds32.dll");
    ASSERT_TRUE(fake);
    EXPECT_EQ(PlantedLoad(), ProgramFolder() + "gds32.dll");
    ::FreeLibrary(fake);
    ::SetEnvironmentVariableA("QV_PLANTED_DLL_LOADED", nullptr);
}

// The program's first step, in a process of its own (it changes the whole
// process): the search for libraries loaded by name is the system folder
// only. The libraries the program loads by name still load, from the
// system folder. Windows' own error boxes are off (GoogleTest sets the same
// flags in every test program: they are cleared first).
TEST(SecureProcessStart, DISABLED_InAProcessOfItsOwn)
{
    ::SetErrorMode(0);
    win32::SecureProcessStart();
    const UINT mode = ::SetErrorMode(0);
    EXPECT_EQ(mode & (SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX),
              UINT(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX));
    ::SetErrorMode(mode);
    HMODULE fake = ::LoadLibraryA("gds32.dll");
    EXPECT_EQ(fake, nullptr) << "loaded from " << PlantedLoad();
    EXPECT_EQ(PlantedLoad(), "");
    for (const char* name : {"riched20.dll", "comdlg32.dll", "shfolder.dll", "msftedit.dll"}) {
        HMODULE module = ::LoadLibraryA(name);
        EXPECT_TRUE(module) << name;
        EXPECT_EQ(PlantedLoad(), "") << name;
        EXPECT_EQ(UpperAscii(ModulePath(name)), UpperAscii(win32::SystemLibraryPath(name))) << name;
    }
}

TEST(SecureProcessStart, KeepsPlantedLibrariesOut)
{
    char self[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string command = std::string("\"") + self +
                          "\" --gtest_also_run_disabled_tests "
                          "--gtest_filter=SecureProcessStart.DISABLED_InAProcessOfItsOwn";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(::CreateProcessA(self, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                 &si, &pi));
    DWORD code = STILL_ACTIVE;
    if (::WaitForSingleObject(pi.hProcess, 60000) == WAIT_OBJECT_0)
        ::GetExitCodeProcess(pi.hProcess, &code);
    else
        ::TerminateProcess(pi.hProcess, 99);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    EXPECT_EQ(code, 0u) << "the child's failures are in its output above";
}

}  // namespace
}  // namespace qv
