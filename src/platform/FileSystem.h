#pragma once
// Files and folders as the update engine needs them. Paths are Windows
// paths (backslashes). Implemented with the real API in win32/, and by an
// in-memory fake in the native tests.
//
// Contract shared by every implementation: existence tests never raise and
// never show a system error box; operations that "raise" throw qv::Error with
// the message the user sees (system errors in the form of
// qv::SystemErrorMessage).
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace qv {

// 100-ns intervals since 1601-01-01 00:00 UTC, as a Windows FILETIME.
using FileTime = std::uint64_t;

enum class DriveKind { Unknown, NoRootDir, Removable, Fixed, Remote, CdRom, RamDisk };

// The four numbers of a file version (3.0.12.5: major 3, minor 0, release
// 12, build 5).
struct FileVersionParts {
    std::uint16_t major = 0;
    std::uint16_t minor = 0;
    std::uint16_t release = 0;
    std::uint16_t build = 0;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // The user's temporary folder, with a trailing backslash; raises the last
    // system error when Windows gives none.
    virtual std::string TempFolder() = 0;

    // The Windows folder with a trailing backslash, or "" when Windows gives
    // none.
    virtual std::string WindowsFolder() = 0;

    virtual bool FileIsPresent(const std::string& path) = 0;    // exists, not a folder
    virtual bool FolderIsPresent(const std::string& path) = 0;  // exists, is a folder
    virtual bool PathIsPresent(const std::string& path) = 0;    // file or folder

    // The whole content of a file. A file that cannot be opened raises an
    // error naming the file; so does a failed read.
    virtual std::string ReadWholeFile(const std::string& path) = 0;

    // Where the contents of a new file go, piece by piece.
    class PieceWriter {
    public:
        // Appends piece to the file; a failed write raises an Error naming
        // the file.
        virtual void Write(std::string_view piece) = 0;

    protected:
        ~PieceWriter() = default;
    };

    // Creates (or replaces) path and writes data. A file that cannot be
    // created raises a FileCreationError naming the file (an existing file
    // of that name is then untouched); a failed write raises an Error, after
    // the file was closed.
    void WriteNewFile(const std::string& path, std::string_view data)
    {
        WriteNewFileInPieces(path, [data](PieceWriter& file) { file.Write(data); });
    }

    // The same, the contents handed to the writer by fill, in order, so that
    // a large file is never held whole. Creation and write errors as above;
    // an error raised by fill is passed on after the file was closed, with
    // what was written so far.
    virtual void WriteNewFileInPieces(const std::string& path,
                                      const std::function<void(PieceWriter&)>& fill) = 0;

    // Creates an empty file at path only when nothing is there (no file,
    // folder or link of that name), and never opens what is there: a name
    // another has taken, even in the instant before, is left to them. True
    // when this call made the file; false, with nothing touched, when the
    // name is taken. Any other failure raises a FileCreationError naming
    // the file.
    virtual bool CreateNewFile(const std::string& path) = 0;

    // Sets only the last-write time. False when the file does not exist;
    // raises an I/O error when it exists but cannot be opened for writing.
    virtual bool SetFileWriteTime(const std::string& path, FileTime time) = 0;

    // Deletes one file; raises the last system error on failure.
    virtual void RemoveFile(const std::string& path) = 0;

    // The last-write time of the file at path; false (time untouched) when
    // there is no file there (a folder included).
    virtual bool GetFileWriteTime(const std::string& path, FileTime& time) = 0;

    // Sets FILE_ATTRIBUTE_NORMAL; false on failure.
    virtual bool SetNormalAttributes(const std::string& path) = 0;

    // Copies, overwriting, keeping the source's last-write time; false on
    // failure (LastFailureMessage() then tells why). The target is either
    // as it was or the whole copy, never cut: the copy is made beside it
    // (target + ".new") and takes its place once whole.
    virtual bool CopyFileOver(const std::string& source, const std::string& target) = 0;

    // Why the last operation of this object that returned false failed, in
    // the form of qv::SystemErrorMessage.
    virtual std::string LastFailureMessage() = 0;

    // The file version of path; false (parts untouched) when the file has no
    // version resource or cannot be read.
    virtual bool GetFileVersionParts(const std::string& path, FileVersionParts& parts) = 0;

    // The folder for shared system files, with a trailing backslash: the
    // system folder, or the Windows folder when the system folder lies
    // outside it and cannot be written to. Never raises.
    virtual std::string SharedSystemFolder() = 0;

    // Creates a folder with all its missing levels; false on failure.
    virtual bool ForceDirectories(const std::string& path) = 0;

    // Letters of the logical drives, in the order the system lists them.
    virtual std::string DriveLetters() = 0;
    // The kind of drive whose root is given (for example "C:\").
    virtual DriveKind DriveKindOf(const std::string& root) = 0;

    // --- bounded reads and whole replacements ---------------------------------

    // At most the first maxBytes bytes of a file, so that a file of any size
    // costs no more than that. Errors as ReadWholeFile.
    virtual std::string ReadFileStart(const std::string& path, std::size_t maxBytes) = 0;

    // Puts the file source in the place of target (same folder), replacing
    // target in one step: target is either as it was or the whole source,
    // never cut. The moved file keeps its contents, time and attributes.
    // False on failure (LastFailureMessage() then tells why), and then both
    // files are left as they were.
    virtual bool MoveFileOver(const std::string& source, const std::string& target) = 0;
};

}  // namespace qv
