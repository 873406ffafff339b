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
#include "core/Format.h"
#include "core/Texts.h"
#include "core/Text.h"
#include "core/WindowsPath.h"
#include "platform/FileSystem.h"

namespace qv::test {

struct MemoryFile {
    std::string data;
    FileTime writeTime = 0;
    bool readOnly = false;
    bool locked = false;
    bool unreadable = false;  // exists, but cannot be opened for reading
};

class MemoryFileSystem : public FileSystem {
public:
    std::string tempFolder = "C:\\TEMP\\";
    std::string windowsFolder = "C:\\WINDOWS\\";
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
    std::string WindowsFolder() override { return windowsFolder; }
    bool FileIsPresent(const std::string& path) override { return Get(path) != nullptr; }
    bool FolderIsPresent(const std::string&) override { return false; }
    bool PathIsPresent(const std::string& path) override { return FileIsPresent(path); }

    std::string ReadWholeFile(const std::string& path) override
    {
        const MemoryFile* f = Get(path);
        if (!f || f->unreadable)
            throw Error("Impossible d'ouvrir le fichier " + path);
        return f->data;
    }

    void WriteNewFileInPieces(const std::string& path,
                              const std::function<void(PieceWriter&)>& fill) override
    {
        if (const MemoryFile* old = Get(path); old && (old->readOnly || old->locked))
            throw FileCreationError(Format(texts::kFileCreateFailed, {path}) + "\r\n" + Refusal(*old));
        if (refusedCreates.count(UpperAscii(path)))
            throw FileCreationError(Format(texts::kFileCreateFailed, {path}) + "\r\nAccès refusé.");
        struct Writer final : PieceWriter {
            Writer(std::string& data, bool failing, const std::string& path)
                : data(data), failing(failing), path(path) {}
            void Write(std::string_view piece) override
            {
                if (failing)
                    throw Error(Format(texts::kFileWriteFailed, {path}) + "\r\n" + kDiskFull);
                data.append(piece);
            }
            std::string& data;
            bool failing;
            const std::string& path;
        } writer(Put(path).data, failingWrites.count(UpperAscii(path)) != 0, path);
        fill(writer);
    }

    bool CreateNewFile(const std::string& path) override
    {
        if (PathIsPresent(path))
            return false;
        if (refusedCreates.count(UpperAscii(path)))
            throw FileCreationError(Format(texts::kFileCreateFailed, {path}) + "\r\nAccès refusé.");
        Put(path);
        return true;
    }

    bool SetFileWriteTime(const std::string& path, FileTime time) override
    {
        auto it = files.find(UpperAscii(path));
        if (it == files.end())
            return false;
        if (it->second.readOnly || it->second.locked)
            throw Error(SystemErrorMessage(RefusalCode(it->second), Refusal(it->second) + "\r\n"));
        it->second.writeTime = time;
        return true;
    }

    void RemoveFile(const std::string& path) override
    {
        auto it = files.find(UpperAscii(path));
        if (it == files.end())
            throw Error(SystemErrorMessage(2, std::string(kNotFound) + "\r\n"));
        if (it->second.readOnly || it->second.locked)
            throw Error(SystemErrorMessage(RefusalCode(it->second), Refusal(it->second) + "\r\n"));
        files.erase(it);
    }

    bool GetFileWriteTime(const std::string& path, FileTime& time) override
    {
        const MemoryFile* file = Get(path);
        if (!file)
            return false;
        time = file->writeTime;
        return true;
    }
    bool SetNormalAttributes(const std::string&) override { return Unused(); }
    bool CopyFileOver(const std::string&, const std::string&) override { return Unused(); }
    std::string LastFailureMessage() override { return {}; }
    bool GetFileVersionParts(const std::string&, FileVersionParts&) override { return Unused(); }
    std::string SharedSystemFolder() override { Unused(); return {}; }
    bool ForceDirectories(const std::string&) override { return Unused(); }
    std::string DriveLetters() override { return "C"; }
    DriveKind DriveKindOf(const std::string&) override { return DriveKind::Fixed; }

protected:
    // The system's texts of the errors this fake gives, as a French Windows
    // words them, and the code Windows gives for a protected file: 32 when
    // another holds it open, 5 when it is read-only.
    static constexpr char kNotFound[] = "Le fichier spécifié est introuvable.";
    static constexpr char kPathNotFound[] = "Le chemin d'accès spécifié est introuvable.";
    static constexpr char kDiskFull[] = "Espace insuffisant sur le disque.";
    static unsigned long RefusalCode(const MemoryFile& f) { return f.locked ? 32 : 5; }
    static std::string Refusal(const MemoryFile& f)
    {
        return f.locked ? "Le processus ne peut pas accéder au fichier car ce fichier est utilisé par un autre processus."
                        : "Accès refusé.";
    }

private:
    static int Unused() { throw std::logic_error("not used by these tests"); }
};

}  // namespace qv::test
