#pragma once
// The installer helper: the file-system services an installer needs from
// Windows (it installs nothing itself). The temporary and shared system
// folders, existence and attribute tests that never show a system error
// box, collision-free names, a file's version and last-write time. No
// operation shows a message; failures are raised as qv::Error.
#include <windows.h>

#include <cstdint>
#include <random>
#include <string>

#include "core/Base32Code.h"

namespace qv::win32 {

class InstallerFileServices {
public:
    InstallerFileServices();
    InstallerFileServices(const InstallerFileServices&) = delete;
    InstallerFileServices& operator=(const InstallerFileServices&) = delete;

    // The user's temporary folder with a trailing backslash; raises the last
    // system error when Windows gives none.
    std::string TempFolder();

    // The four numbers of the file version; false (outputs untouched) when
    // the file has no version resource.
    bool GetFileVersionParts(const std::string& path, std::uint16_t& major, std::uint16_t& minor,
                             std::uint16_t& release, std::uint16_t& build);

    // The system folder with a trailing backslash, or the Windows folder
    // (GetWindowsFolder) when the system folder lies outside it and cannot
    // be written to.
    std::string SharedSystemFolder();
    // The rule of SharedSystemFolder on given folders.
    std::string ChooseSharedFolder(const std::string& windowsFolder,
                                   const std::string& systemFolder);

    // folder + "is-" + five characters + extension, naming no existing file
    // or folder. Raises "Error Too many files in dir" when all are taken.
    std::string UniqueFileName(const std::string& folder, const std::string& extension);

    bool FileIsPresent(const std::string& path);  // exists and is no folder
    bool PathIsPresent(const std::string& path);  // file or folder
    // The attributes, or 0xFFFFFFFF when the path does not exist. Never
    // shows a critical-error box (an empty drive, for example).
    std::uint32_t PathAttributes(const std::string& path);

private:
    std::mt19937 random_;
};

// The Windows system folder as Windows gives it (no backslash added).
std::string SystemFolder();

// The last-write time (UTC) of the file the path finds; false and a zero
// time for nothing found or a folder.
bool FileWriteTime(const std::string& path, FILETIME& time);
// The same, converted to local time.
bool FileLocalWriteTime(const std::string& path, FILETIME& time);

// The fixed version record; false when the file has none.
bool FileFixedVersionInfo(const std::string& path, VS_FIXEDFILEINFO& info);
// The most and least significant words of the file version.
bool FileVersionNumber(const std::string& path, std::uint32_t& mostSignificant,
                       std::uint32_t& leastSignificant);

}  // namespace qv::win32
