#pragma once
// An in-memory FileSystem for the portable tests. Paths compare without
// regard to ASCII case, as on Windows. Files can be marked read-only (cannot
// be replaced or stamped), locked (cannot be deleted), refusing creation
// (an existing file that cannot be replaced but can be stamped, as a hidden
// file or one another program shares for writing) or failing (created, then
// the write fails).
#include <map>
#include <set>
#include <stdexcept>
#include <string>

#include "core/Errors.h"
#include "core/Text.h"
#include "core/WindowsPath.h"
#include "platform/FileSystem.h"

namespace qv::test {

struct MemoryFile {
    std::string data;
    FileTime writeTime = 0;
    bool readOnly = false;
    bool locked = false;
};

class MemoryFileSystem : public FileSystem {
public:
    std::string tempFolder = "C:\\TEMP\\";
    std::set<std::string> refusedCreates;  // upper-cased paths
    std::set<std::string> failingWrites;   // upper-cased paths

    // The files, by upper-cased path.
    std::map<std::string, MemoryFile> files;

    MemoryFile& Put(const std::string& path, std::string data = {})
    {
        MemoryFile& f = files[UpperAscii(path)];
        f.data = std::move(data);
        return f;
    }
    const MemoryFile* Get(const std::string& path) const
    {
        auto it = files.find(UpperAscii(path));
        return it == files.end() ? nullptr : &it->second;
    }

    std::string TempFolder() override { return tempFolder; }
    bool FileIsPresent(const std::string& path) override { return Get(path) != nullptr; }
    bool FolderIsPresent(const std::string&) override { return false; }
    bool PathIsPresent(const std::string& path) override { return FileIsPresent(path); }

    void WriteNewFile(const std::string& path, std::string_view data) override
    {
        const MemoryFile* old = Get(path);
        if ((old && old->readOnly) || refusedCreates.count(UpperAscii(path)))
            throw FileCreationError("Cannot create file \"" + path + "\". Access denied");
        MemoryFile& f = Put(path);
        if (failingWrites.count(UpperAscii(path)))
            throw Error("Write error on \"" + path + "\"");
        f.data.assign(data);
    }

    bool SetFileWriteTime(const std::string& path, FileTime time) override
    {
        auto it = files.find(UpperAscii(path));
        if (it == files.end())
            return false;
        if (it->second.readOnly)
            throw Error("I/O error 5");
        it->second.writeTime = time;
        return true;
    }

    void RemoveFile(const std::string& path) override
    {
        auto it = files.find(UpperAscii(path));
        if (it == files.end())
            throw Error(SystemErrorMessage(2, "File not found."));
        if (it->second.locked)
            throw Error(SystemErrorMessage(32, "Sharing violation."));
        files.erase(it);
    }

    int CompareFiles(const std::string&, const std::string&) override { return Unused(); }
    bool SetNormalAttributes(const std::string&) override { return Unused(); }
    bool CopyFileOver(const std::string&, const std::string&) override { return Unused(); }
    std::string LastFailureMessage() override { return {}; }
    bool ForceDirectories(const std::string&) override { return Unused(); }
    std::string DriveLetters() override { return "C"; }
    DriveKind DriveKindOf(const std::string&) override { return DriveKind::Fixed; }

private:
    static int Unused() { throw std::logic_error("not used by these tests"); }
};

}  // namespace qv::test
