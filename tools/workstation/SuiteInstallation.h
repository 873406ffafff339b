#pragma once
// The demo workstation of the suite, and what an update must leave on a
// workstation. One definition for the demo (demo_workstation.exe) and for
// the Wine tests that run whole updates with the real program.
//
// The older installation: C:\Quorvex5 holds the files of every packaged
// folder but the second (images07 in this build's package), each with other
// content ("old") and a time stamp of 1 March 2019, 08:00 UTC; the marker
// gs\GS-00.int among them; its record in the current user's registry.
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace qv::workstation {

namespace fs = std::filesystem;

inline constexpr char kSuite[] = "C:\\Quorvex5";
inline constexpr char kMarker[] = "C:\\Quorvex5\\gs\\GS-00.int";
inline constexpr char kRecordKey[] = "Software\\QUORVEX S.A.\\Quorvex Finance\\Program";
// The product's own key: only this is removed, never the vendor's whole
// key, which other products' records share.
inline constexpr char kProductKey[] = "Software\\QUORVEX S.A.\\Quorvex Finance";
inline constexpr char kOldContent[] = "old";

// A packaged file and where an update installs it.
using InstalledFile = std::pair<fs::path, std::string>;

// The package's folders, as the build generated its payload, sorted.
inline std::vector<std::string> PackagedFolders(const fs::path& payload)
{
    std::vector<std::string> folders;
    for (const auto& item : fs::directory_iterator(payload))
        if (item.is_directory())
            folders.push_back(item.path().filename().string());
    std::sort(folders.begin(), folders.end());
    return folders;
}

// Every file of the package's folders and its place in the suite folder.
inline std::vector<InstalledFile> SuiteFiles(const fs::path& payload)
{
    std::vector<InstalledFile> files;
    for (const std::string& folder : PackagedFolders(payload))
        for (const auto& item : fs::directory_iterator(payload / folder))
            files.emplace_back(item.path(), std::string(kSuite) + "\\" + folder + "\\" +
                                                item.path().filename().string());
    return files;
}

inline FILETIME WriteTime(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
    return data.ftLastWriteTime;
}

inline std::string FileBytesOrMissing(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return "<missing>";
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Removes the suite folder and its record.
inline void RemoveSuiteInstallation()
{
    std::error_code ignored;
    fs::remove_all(kSuite, ignored);
    RegDeleteTreeA(HKEY_CURRENT_USER, kProductKey);
}

// Lays out the older installation (after removing any earlier one); false
// when a file or the record could not be written.
inline bool MakeOlderSuiteInstallation(const fs::path& payload)
{
    RemoveSuiteInstallation();
    FILETIME old{};
    SYSTEMTIME st{2019, 3, 5, 1, 8, 0, 0, 0};
    SystemTimeToFileTime(&st, &old);
    std::vector<std::string> installed = PackagedFolders(payload);
    if (installed.size() < 2)
        return false;  // no folder the installation could lack
    installed.erase(installed.begin() + 1);
    bool written = true;
    for (const std::string& folder : installed) {
        fs::create_directories(fs::path(kSuite) / folder);
        for (const auto& item : fs::directory_iterator(payload / folder)) {
            const std::string target = std::string(kSuite) + "\\" + folder + "\\" +
                                       item.path().filename().string();
            HANDLE h = CreateFileA(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
            if (h == INVALID_HANDLE_VALUE) {
                written = false;
                continue;
            }
            DWORD count = 0;
            written &= WriteFile(h, kOldContent, sizeof kOldContent - 1, &count, nullptr) != 0;
            written &= SetFileTime(h, nullptr, nullptr, &old) != 0;
            CloseHandle(h);
        }
    }
    written &= RegSetKeyValueA(HKEY_CURRENT_USER, kRecordKey, "Filename", REG_SZ, kMarker,
                               sizeof kMarker) == ERROR_SUCCESS;
    return written;
}

// The installed paths of files whose bytes or last-write time differ from
// their packaged file (a missing file differs).
inline std::vector<std::string> DifferingFromPackage(const std::vector<InstalledFile>& files)
{
    std::vector<std::string> differing;
    for (const auto& [packaged, installed] : files) {
        const FILETIME a = WriteTime(installed), b = WriteTime(packaged.string());
        if (FileBytesOrMissing(installed) != FileBytesOrMissing(packaged.string()) ||
            CompareFileTime(&a, &b) != 0)
            differing.push_back(installed);
    }
    return differing;
}

// The marker path the suite's record holds, "" when none.
inline std::string RecordedMarker()
{
    char value[MAX_PATH] = {};
    DWORD size = sizeof value;
    if (RegGetValueA(HKEY_CURRENT_USER, kRecordKey, "Filename", RRF_RT_REG_SZ, nullptr, value,
                     &size) != ERROR_SUCCESS)
        return {};
    return value;
}

// The temporary files of a run ("Update*.tmp" in the temporary folder) still
// there.
inline int LeftoverTemporaryFiles()
{
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((std::string(folder) + "Update*.tmp").c_str(), &found);
    if (h == INVALID_HANDLE_VALUE)
        return 0;
    int count = 0;
    do
        ++count;
    while (FindNextFileA(h, &found));
    FindClose(h);
    return count;
}

}  // namespace qv::workstation
