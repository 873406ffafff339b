#pragma once
// The in-memory file system with what the update engine needs besides
// files: folders, drives of each kind, file versions for the comparison,
// copies that keep the time stamp and fail on locked or missing places.
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>

#include "support/MemoryFileSystem.h"

namespace qv::test {

class EngineFileSystem : public MemoryFileSystem {
public:
    std::set<std::string> folders;               // upper-cased, no trailing backslash
    std::map<char, DriveKind> drives = {{'C', DriveKind::Fixed}};
    std::map<std::string, std::uint64_t> versions;  // upper-cased path -> packed version
    std::set<std::string> unreadable;            // folders that refuse ForceDirectories
    std::vector<std::string> copies;             // targets, in order
    // Upper-cased target -> what its copy does instead (throw something).
    std::map<std::string, std::function<void()>> copyFailures;
    std::string lastError;

    void AddFolder(const std::string& path)
    {
        std::string p = UpperAscii(WithoutBackslash(path));
        while (p.size() > 3) {  // every level above it, down to the root
            folders.insert(p);
            p = WithoutBackslash(ParentFolder(p));
        }
    }
    MemoryFile& PutFile(const std::string& path, std::string data, FileTime time,
                        std::optional<std::uint64_t> version = std::nullopt)
    {
        AddFolder(ParentFolder(path));
        MemoryFile& f = Put(path, std::move(data));
        f.writeTime = time;
        if (version)
            versions[UpperAscii(path)] = *version;
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

    void WriteNewFile(const std::string& path, std::string_view data) override
    {
        if (!FolderIsPresent(ParentFolder(path)))
            throw FileCreationError("Impossible de créer le fichier " + path);
        MemoryFileSystem::WriteNewFile(path, data);
    }

    int CompareFiles(const std::string& installed, const std::string& packaged) override
    {
        if (!FileIsPresent(packaged))
            throw Error("File not found : " + packaged);
        if (!FileIsPresent(installed))
            return 1;
        auto a = versions.find(UpperAscii(installed));
        auto b = versions.find(UpperAscii(packaged));
        if (a != versions.end() && b != versions.end())
            return a->second < b->second ? 1 : a->second > b->second ? -1 : 0;
        FileTime ta = Get(installed)->writeTime, tb = Get(packaged)->writeTime;
        return tb > ta ? 1 : tb < ta ? -1 : 0;
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
            lastError = SystemErrorMessage(2, "Le fichier spécifié est introuvable.\r\n");
            return false;
        }
        if (!FolderIsPresent(ParentFolder(target))) {
            lastError = SystemErrorMessage(3, "Le chemin d'accès spécifié est introuvable.\r\n");
            return false;
        }
        if (to && (to->locked || to->readOnly)) {
            lastError = SystemErrorMessage(32, "Le processus ne peut pas accéder au fichier.\r\n");
            return false;
        }
        MemoryFile copy = *from;
        copy.locked = false;
        copy.readOnly = false;
        files[UpperAscii(target)] = copy;
        auto v = versions.find(UpperAscii(source));
        if (v != versions.end())
            versions[UpperAscii(target)] = v->second;
        else
            versions.erase(UpperAscii(target));
        copies.push_back(target);
        return true;
    }

    std::string LastFailureMessage() override { return lastError; }

    bool ForceDirectories(const std::string& path) override
    {
        if (unreadable.count(UpperAscii(WithoutBackslash(path))))
            return false;
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
