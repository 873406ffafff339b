#pragma once
// A fresh folder under the temporary folder for one test, removed with
// everything in it (read-only files included) when the test ends; and the
// path of the fixtures the build made beside the test program.
#include <windows.h>
#include <shellapi.h>

#include <string>

namespace qv::test {

inline std::string ProgramFolder()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s = path;
    return s.substr(0, s.find_last_of('\\') + 1);
}

inline std::string FixturePath(const std::string& name)
{
    return ProgramFolder() + "fixtures\\" + name;
}

class ScratchFolder {
public:
    ScratchFolder()
    {
        static int counter = 0;
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        path_ = std::string(temp) + "qv-test-" + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(++counter) + "\\";
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~ScratchFolder() { Remove(path_.substr(0, path_.size() - 1)); }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // The folder, with a trailing backslash.
    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + name; }

    std::string Write(const std::string& name, const std::string& data) const
    {
        std::string p = path_ + name;
        HANDLE h = CreateFileA(p.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        WriteFile(h, data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
        CloseHandle(h);
        return p;
    }

    std::string CopyFixture(const std::string& fixture, const std::string& name) const
    {
        std::string p = path_ + name;
        CopyFileA(FixturePath(fixture).c_str(), p.c_str(), FALSE);
        return p;
    }

private:
    static void Remove(const std::string& folder)
    {
        WIN32_FIND_DATAA data;
        HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                std::string name = data.cFileName;
                if (name == "." || name == "..")
                    continue;
                std::string p = folder + "\\" + name;
                SetFileAttributesA(p.c_str(), FILE_ATTRIBUTE_NORMAL);
                if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    Remove(p);
                else
                    DeleteFileA(p.c_str());
            } while (FindNextFileA(find, &data));
            FindClose(find);
        }
        RemoveDirectoryA(folder.c_str());
    }

    std::string path_;
};

}  // namespace qv::test
