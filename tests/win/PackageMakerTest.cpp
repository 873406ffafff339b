// qvpack make under Windows, from the stub beside it: Windows itself finds
// every packaged file of the program made, the stub's own resources are
// still there, the checksum is the one the system computes, and the program
// is the same, byte for byte, as the one the build machine's qvpack made.
#include <gtest/gtest.h>
#include <windows.h>
#include <imagehlp.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <string_view>

#include "core/StoredForm.h"
#include "tools/qvpack/Commands.h"
#include "tools/qvpack/LocalFiles.h"

namespace fs = std::filesystem;

namespace qv::qvpack {
namespace {

void WriteAll(const fs::path& path, std::string_view bytes)
{
    fs::create_directories(path.parent_path());
    WriteWholeFile(path, bytes);
}

fs::path ProgramFolder()
{
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    return fs::path(self).parent_path();
}

// The fixed version of an executable, "a.b.c.d", or "" when it has none.
std::string FileVersion(const fs::path& file)
{
    DWORD ignored = 0, size = GetFileVersionInfoSizeA(file.string().c_str(), &ignored);
    std::string block(size, '\0');
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (size == 0 || !GetFileVersionInfoA(file.string().c_str(), 0, size, block.data()) ||
        !VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length))
        return "";
    return std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." + std::to_string(LOWORD(fixed->dwFileVersionMS)) +
           "." + std::to_string(HIWORD(fixed->dwFileVersionLS)) + "." + std::to_string(LOWORD(fixed->dwFileVersionLS));
}

// Called by Windows: WINAPI, as every callback handed to it.
BOOL CALLBACK CountResourceName(HMODULE, LPCSTR, LPSTR, LONG_PTR counter)
{
    ++*reinterpret_cast<int*>(counter);
    return TRUE;
}

int CountOf(HMODULE module, LPCSTR type)
{
    int count = 0;
    EnumResourceNamesA(module, type, CountResourceName, reinterpret_cast<LONG_PTR>(&count));
    return count;
}

class PackageMaker : public testing::Test {
protected:
    const fs::path work = ProgramFolder() / "package-maker-test";
    std::ostringstream out, err;
    void SetUp() override
    {
        fs::remove_all(work);
        fs::create_directories(work);
    }
    void TearDown() override { fs::remove_all(work); }
};

TEST_F(PackageMaker, WindowsFindsEveryFileOfTheProgramMade)
{
    // Names whose order as upper case differs from their byte order: a
    // directory sorted the wrong way hides some of them from the binary
    // search of the resource loader.
    const std::map<std::string, std::string> files = {
        {"AppInfo1.txt", "Quorvex Finance"},
        {"Updates.txt", "Quorvex Finance\r\n"},
        {"FileNames.txt", "util\\x.dll\r\nutils.txt\r\na_b.txt\r\naab.txt\r\n[1].txt\r\nz.txt\r\n"},
        {"gs\\GS-00.int", "marker"},
        {"util\\x.dll", "x"}, {"utils.txt", "utils"}, {"a_b.txt", "a_b"}, {"aab.txt", "aab"},
        {"[1].txt", "bracket"}, {"z.txt", ""}};
    for (const auto& [name, bytes] : files)
        WriteAll(work / "package" / name, bytes);
    const fs::path program = work / "update.exe";
    ASSERT_EQ(Make(work / "package", program, {}, out, err), 0) << err.str();  // the stub beside

    HMODULE made = LoadLibraryExA(program.string().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(made, nullptr);
    for (const auto& [name, bytes] : files) {
        // Asked for as the wizard asks, in the manifests' case.
        HRSRC found = FindResourceA(made, name.c_str(), MAKEINTRESOURCEA(10));
        ASSERT_NE(found, nullptr) << name;
        auto data = static_cast<const char*>(LockResource(LoadResource(made, found)));
        StoredFile stored = DecodeStoredForm(std::string_view(data, SizeofResource(made, found)));
        EXPECT_EQ(stored.payload, bytes) << name;
    }
    EXPECT_EQ(FindResourceA(made, "gs/GS-00.int", MAKEINTRESOURCEA(10)), nullptr);

    // The stub's own resources: its icons and its version.
    const fs::path stub = ProgramFolder() / "quorvex-update-stub.exe";
    HMODULE original = LoadLibraryExA(stub.string().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(original, nullptr);
    EXPECT_GT(CountOf(original, MAKEINTRESOURCEA(14)), 0);
    EXPECT_EQ(CountOf(made, MAKEINTRESOURCEA(14)), CountOf(original, MAKEINTRESOURCEA(14)));
    EXPECT_EQ(CountOf(made, MAKEINTRESOURCEA(3)), CountOf(original, MAKEINTRESOURCEA(3)));
    EXPECT_EQ(CountOf(made, MAKEINTRESOURCEA(24)), 1);
    EXPECT_EQ(CountOf(made, MAKEINTRESOURCEA(10)), static_cast<int>(files.size()));
    FreeLibrary(original);
    FreeLibrary(made);
    EXPECT_EQ(FileVersion(program), "1.0.3.9");
    EXPECT_EQ(FileVersion(program), FileVersion(stub));

    DWORD inHeader = 0, computed = 0;
    ASSERT_EQ(MapFileAndCheckSumA(program.string().c_str(), &inHeader, &computed), CHECKSUM_SUCCESS);
    EXPECT_EQ(inHeader, computed);
}

TEST_F(PackageMaker, TheSameProgramAsTheBuildMachineMade)
{
    // The build made quorvex-update-made.exe with the build machine's qvpack
    // from the same payload and stub.
    const fs::path program = work / "update.exe";
    ASSERT_EQ(Make(QV_PAYLOAD_DIR, program, ProgramFolder() / "quorvex-update-stub.exe", out, err), 0)
        << err.str();
    const std::string made = ReadWholeFile(program);
    EXPECT_TRUE(made == ReadWholeFile(ProgramFolder() / "quorvex-update-made.exe"));
    DWORD inHeader = 0, computed = 0;
    ASSERT_EQ(MapFileAndCheckSumA(program.string().c_str(), &inHeader, &computed), CHECKSUM_SUCCESS);
    EXPECT_EQ(inHeader, computed);
}

// UTF-8 bytes (plain literals are Windows-1252 in this build).
std::string Utf8(std::u8string_view text)
{
    return std::string(text.begin(), text.end());
}

// A Margolin package whose manifests and names were written on Linux in
// UTF-8 (tests/win/packages/margolin-accents), made here by qvpack and run
// unattended on a Margolin installation: the files land under their
// accented names, and the log (UTF-8) shows the title and the names as
// written, not their UTF-8 bytes read as Windows-1252.
TEST_F(PackageMaker, AUtf8FolderInstallsUnderItsAccentedNames)
{
    const fs::path package = work / "package";
    fs::copy(QV_ACCENTED_PACKAGE, package, fs::copy_options::recursive);
    ASSERT_TRUE(CopyFileA((ProgramFolder() / "fixtures" / "v1040.dll").string().c_str(),
                          (package / "TVPMargolin.exe").string().c_str(), FALSE));
    const fs::path program = work / "update.exe";
    ASSERT_EQ(Make(package, program, {}, out, err), 0) << err.str();

    // The installation: Margolin 1.0.3.9 beside the recorded main product.
    const std::string products = (work / "WQuorvex").string();
    const fs::path folder = work / "WQuorvex" / "Margolin" / "Programs";
    fs::create_directories(folder / fs::path(u8"Modèles"));
    ASSERT_TRUE(CopyFileA((ProgramFolder() / "fixtures" / "v1039.dll").string().c_str(),
                          (folder / "TVPMargolin.exe").string().c_str(), FALSE));
    const std::string record = products + "\\TVI\\Programs\\TELVARIN.EXE";
    constexpr char kRecordKey[] = "Software\\QUORVEX S.A.\\Telvarin\\Program";
    ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, kRecordKey, "Filename", REG_SZ, record.c_str(),
                              static_cast<DWORD>(record.size() + 1)),
              ERROR_SUCCESS);

    // Unattended, with a temporary folder of its own.
    const fs::path temporary = work / "tmp", log = work / "update.log";
    fs::create_directories(temporary);
    std::wstring command = L"\"" + program.wstring() + L"\" /VERYSILENT /SUPPRESSMSGBOXES /LOG=\"" +
                           log.wstring() + L"\"";
    wchar_t savedTmp[MAX_PATH] = {}, savedTemp[MAX_PATH] = {};
    GetEnvironmentVariableW(L"TMP", savedTmp, MAX_PATH);
    GetEnvironmentVariableW(L"TEMP", savedTemp, MAX_PATH);
    SetEnvironmentVariableW(L"TMP", temporary.wstring().c_str());
    SetEnvironmentVariableW(L"TEMP", temporary.wstring().c_str());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const BOOL started = CreateProcessW(program.wstring().c_str(), command.data(), nullptr, nullptr,
                                        FALSE, 0, nullptr, work.wstring().c_str(), &startup, &process);
    SetEnvironmentVariableW(L"TMP", savedTmp[0] ? savedTmp : nullptr);
    SetEnvironmentVariableW(L"TEMP", savedTemp[0] ? savedTemp : nullptr);
    ASSERT_TRUE(started);
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(process.hProcess, 3 * 60 * 1000) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &code);
    else
        TerminateProcess(process.hProcess, 99);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\QUORVEX S.A.\\Telvarin");

    std::string logText = fs::exists(log) ? ReadWholeFile(log) : std::string();
    EXPECT_EQ(code, 0u) << logText;
    ASSERT_EQ(logText.rfind("\xEF\xBB\xBF", 0), 0u) << "no UTF-8 log";
    logText.erase(0, 3);
    EXPECT_EQ(logText.rfind(Utf8(u8"Mise à jour : Margolin : Bibliothèque d'états  "), 0), 0u)
        << logText.substr(0, 200);
    const std::string folderUtf8 = Utf8(folder.u8string());
    for (const std::u8string_view name : {u8"Modèles\\état récapitulatif.ini", u8"Léa – notes.txt"}) {
        const fs::path installed = folder / fs::path(std::u8string(name));
        EXPECT_TRUE(fs::exists(installed)) << Utf8(name);
        fs::path relative = fs::path(std::u8string(name));
        EXPECT_EQ(fs::exists(installed) ? ReadWholeFile(installed) : "", ReadWholeFile(package / relative));
        EXPECT_NE(logText.find("vers " + folderUtf8 + "\\" + Utf8(name) + "\r\n"), std::string::npos)
            << Utf8(name) << "\n" << logText;
    }
    EXPECT_TRUE(fs::exists(folder / fs::path(u8"Reçus.lst")));
    EXPECT_NE(logText.find(Utf8(u8"Les paramètres pour l'impression : \"Reçus.lst\" ont été mise à jour.")),
              std::string::npos)
        << logText;
    // Nothing under the names the UTF-8 bytes make in Windows-1252.
    EXPECT_FALSE(fs::exists(folder / fs::path(u8"ModÃ¨les")));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 4);
}

}  // namespace
}  // namespace qv::qvpack
