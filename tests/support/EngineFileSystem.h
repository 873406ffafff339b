#pragma once
// The in-memory file system with what the update engine needs besides
// files: folders, drives of each kind, file versions (the comparison reads
// them with the write times),
// copies that keep the time stamp and fail on locked or missing places.
#include <functional>
#include <map>
#include <set>
#include <string>

#include "support/MemoryFileSystem.h"

namespace qv::test {

class EngineFileSystem : public MemoryFileSystem {
public:
    std::set<std::string> folders;               // upper-cased, no trailing backslash
    std::map<char, DriveKind> drives = {{'C', DriveKind::Fixed}};
    std::set<std::string> unreadable;            // folders that refuse ForceDirectories
    std::vector<std::string> copies;             // targets, in order
    // Upper-cased target -> what its copy does instead (throw something).
    std::map<std::string, std::function<void()>> copyFailures;
    std::string lastError;
    // Upper-cased path -> its file version; a file not named has none.
    std::map<std::string, FileVersionParts> versions;
    std::string sharedSystemFolder = "C:\\WINDOWS\\system32\\";

    void AddFolder(const std::string& path)
    {
        std::string p = UpperAscii(WithoutBackslash(path));
        while (p.size() > 3) {  // every level above it, down to the root
            folders.insert(p);
            p = WithoutBackslash(ParentFolder(p));
        }
    }
    MemoryFile& PutFile(const std::string& path, std::string data, FileTime time)
    {
        AddFolder(ParentFolder(path));
        MemoryFile& f = Put(path, std::move(data));
        f.writeTime = time;
        return f;
    }

    bool FolderIsPresent(const std::string& path) override
    {
        std::string p = UpperAscii(WithoutBackslash(path));
        return folders.count(p) != 0 || (p.size() == 3 && drives.count(p[0]));
    }
    bool PathIsPresent(const std::string& path) override
    {
        return FileIsPresent(path) || FolderIsPresent(path);
    }

    void WriteNewFileInPieces(const std::string& path,
                              const std::function<void(PieceWriter&)>& fill) override
    {
        if (!FolderIsPresent(ParentFolder(path)))
            throw FileCreationError(Format(texts::kFileCreateFailed, {path}) + "\r\n" + kPathNotFound);
        MemoryFileSystem::WriteNewFileInPieces(path, fill);
    }

    bool CreateNewFile(const std::string& path) override
    {
        if (!PathIsPresent(path) && !FolderIsPresent(ParentFolder(path)))
            throw FileCreationError(Format(texts::kFileCreateFailed, {path}) + "\r\n" + kPathNotFound);
        return MemoryFileSystem::CreateNewFile(path);
    }

    bool SetNormalAttributes(const std::string& path) override
    {
        auto it = files.find(UpperAscii(path));
        if (it == files.end())
            return false;
        it->second.readOnly = false;
        return true;
    }

    bool CopyFileOver(const std::string& source, const std::string& target) override
    {
        if (auto failure = copyFailures.find(UpperAscii(target)); failure != copyFailures.end())
            failure->second();
        const MemoryFile* from = Get(source);
        const MemoryFile* to = Get(target);
        if (!from) {
            lastError = SystemErrorMessage(2, std::string(kNotFound) + "\r\n");
            return false;
        }
        if (!FolderIsPresent(ParentFolder(target))) {
            lastError = SystemErrorMessage(3, std::string(kPathNotFound) + "\r\n");
            return false;
        }
        if (to && (to->locked || to->readOnly)) {
            lastError = SystemErrorMessage(RefusalCode(*to), Refusal(*to) + "\r\n");
            return false;
        }
        MemoryFile copy = *from;
        copy.locked = false;
        copy.readOnly = false;
        files[UpperAscii(target)] = copy;
        copies.push_back(target);
        return true;
    }

    std::string LastFailureMessage() override { return lastError; }

    bool GetFileVersionParts(const std::string& path, FileVersionParts& parts) override
    {
        auto it = versions.find(UpperAscii(path));
        if (!FileIsPresent(path) || it == versions.end())
            return false;
        parts = it->second;
        return true;
    }
    std::string SharedSystemFolder() override { return sharedSystemFolder; }

    bool ForceDirectories(const std::string& path) override
    {
        if (unreadable.count(UpperAscii(WithoutBackslash(path))))
            return false;
        // A file where a level should be stops it, as on Windows.
        for (std::string p = WithoutBackslash(path); p.size() > 3; p = WithoutBackslash(ParentFolder(p)))
            if (FileIsPresent(p)) {
                lastError = SystemErrorMessage(183, "Impossible de créer un fichier déjà existant.\r\n");
                return false;
            }
        AddFolder(path);
        return true;
    }

    std::string DriveLetters() override
    {
        std::string letters;
        for (auto [letter, kind] : drives)
            letters += letter;
        return letters;
    }
    DriveKind DriveKindOf(const std::string& root) override
    {
        auto it = drives.find(static_cast<char>(std::toupper(static_cast<unsigned char>(root[0]))));
        return it == drives.end() ? DriveKind::NoRootDir : it->second;
    }
};

}  // namespace qv::test
