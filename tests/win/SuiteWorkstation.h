#pragma once
// A Quorvex Finance installation older than this build's package, made in
// C:\\Quorvex5 of the tests' prefix with its registry record, for the tests
// that run the whole update with the real program; and what they check
// afterwards.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "WizardDriver.h"
#include "WizardRun.h"

namespace qv::test {

namespace fs = std::filesystem;

constexpr char kSuite[] = "C:\\Quorvex5";
constexpr char kMarker[] = "C:\\Quorvex5\\gs\\GS-00.int";
constexpr char kRecordKey[] = "Software\\QUORVEX S.A.\\Quorvex Finance\\Program";
// The product's own key: the tests remove only this, never the vendor's
// whole key, which other products' records and tests share.
constexpr char kProductKey[] = "Software\\QUORVEX S.A.\\Quorvex Finance";

inline FILETIME Time(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
    return data.ftLastWriteTime;
}

class SuiteWorkstation : public ::testing::Test {
protected:
    const fs::path payload = QV_PAYLOAD_DIR;

    // The package's folders, as the build generated its payload (gs,
    // images07 and util in this build).
    std::vector<std::string> PackagedFolders() const
    {
        std::vector<std::string> folders;
        for (const auto& item : fs::directory_iterator(payload))
            if (item.is_directory())
                folders.push_back(item.path().filename().string());
        std::sort(folders.begin(), folders.end());
        return folders;
    }

    // An installation older than the package: the files of every packaged
    // folder but the second with other content and a 2019 time stamp, that
    // folder missing, the record in HKCU.
    void SetUp() override
    {
        temporary_.emplace("qv-update-run");
        fs::remove_all(kSuite);
        FILETIME old{};
        SYSTEMTIME st{2019, 3, 5, 1, 8, 0, 0, 0};
        SystemTimeToFileTime(&st, &old);
        std::vector<std::string> installed = PackagedFolders();
        ASSERT_GE(installed.size(), 2u) << "no folder the installation lacks";
        installed.erase(installed.begin() + 1);
        for (const std::string& folder : installed) {
            fs::create_directories(fs::path(kSuite) / folder);
            for (const auto& item : fs::directory_iterator(payload / folder)) {
                std::string target = std::string(kSuite) + "\\" + folder + "\\" +
                                     item.path().filename().string();
                HANDLE h = CreateFileA(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr);
                DWORD written = 0;
                WriteFile(h, "old", 3, &written, nullptr);
                SetFileTime(h, nullptr, nullptr, &old);
                CloseHandle(h);
            }
        }
        RegSetKeyValueA(HKEY_CURRENT_USER, kRecordKey, "Filename", REG_SZ, kMarker,
                        sizeof kMarker);
    }
    void TearDown() override
    {
        fs::remove_all(kSuite);
        RegDeleteTreeA(HKEY_CURRENT_USER, kProductKey);
        temporary_.reset();
    }

    // The runs of this test get a temporary folder of their own.
    std::optional<OwnTemporaryFolder> temporary_;

    // Every listed file and the marker equal their packaged bytes and time.
    int Differing()
    {
        int differing = 0;
        for (const std::string& folder : PackagedFolders())
            for (const auto& item : fs::directory_iterator(payload / folder)) {
                std::string installed = std::string(kSuite) + "\\" + folder + "\\" +
                                        item.path().filename().string();
                FILETIME a = Time(installed), b = Time(item.path().string());
                if (ReadFileOrMissing(installed) != ReadFileOrMissing(item.path().string()) ||
                    CompareFileTime(&a, &b) != 0)
                    ++differing;
            }
        return differing;
    }

    // Every file of the installation: its bytes and last-write time.
    std::map<std::string, std::pair<std::string, std::uint64_t>> Installed()
    {
        std::map<std::string, std::pair<std::string, std::uint64_t>> files;
        for (const auto& item : fs::recursive_directory_iterator(kSuite))
            if (item.is_regular_file()) {
                FILETIME t = Time(item.path().string());
                files[item.path().string()] = {ReadFileOrMissing(item.path().string()),
                                               (std::uint64_t(t.dwHighDateTime) << 32) | t.dwLowDateTime};
            }
        return files;
    }
};


// A log file read back: its bytes are UTF-8, the test's texts Windows-1252.
inline std::string Cp1252FromUtf8(const std::string& utf8)
{
    std::wstring wide(utf8.size(), L'\0');
    wide.resize(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), wide.data(),
                                    int(wide.size())));
    std::string text(wide.size() * 2, '\0');
    text.resize(WideCharToMultiByte(1252, 0, wide.data(), int(wide.size()), text.data(),
                                    int(text.size()), nullptr, nullptr));
    return text;
}

}  // namespace qv::test
