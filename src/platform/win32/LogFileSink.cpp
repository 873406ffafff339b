#include "platform/win32/LogFileSink.h"

#include <vector>

#include "core/Texts.h"
#include "platform/ReportLog.h"
#include "platform/win32/Win32Error.h"

namespace qv::win32 {

namespace {

bool WriteAll(HANDLE file, const std::string& bytes)
{
    DWORD written = 0;
    return ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

std::string FullPathOf(const std::string& path)
{
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        const DWORD n = ::GetFullPathNameA(path.c_str(), static_cast<DWORD>(buffer.size()),
                                           buffer.data(), nullptr);
        if (n == 0)
            return path;  // CreateFile will say what is wrong with it
        if (n < buffer.size())
            return std::string(buffer.data(), n);
        buffer.resize(n + 1);
    }
}

bool IsReparsePoint(const std::string& path)
{
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// The folder the file lies in, without its trailing backslash but for a
// drive's root ("C:\").
std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('\\');
    if (slash == std::string::npos)
        return std::string();
    if (slash == 0 || path[slash - 1] == ':')
        return path.substr(0, slash + 1);
    return path.substr(0, slash);
}

}  // namespace

bool LogFileSink::Create(const std::string& path, std::string& error)
{
    file_.reset();
    writeError_.clear();
    fullPath_ = FullPathOf(path);
    const std::string folder = FolderOf(fullPath_);
    if (IsReparsePoint(fullPath_) || (!folder.empty() && IsReparsePoint(folder))) {
        error = texts::kLogIsLink;
        return false;
    }
    // Others may read the log while the run writes it. A link made after
    // the check above is opened as itself, never followed, and refused.
    file_.reset(::CreateFileA(fullPath_.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT,
                              nullptr));
    if (!file_) {
        error = LastErrorMessage();
        return false;
    }
    BY_HANDLE_FILE_INFORMATION opened{};
    if (::GetFileInformationByHandle(file_.get(), &opened) &&
        (opened.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        file_.reset();
        error = texts::kLogIsLink;
        return false;
    }
    if (!WriteAll(file_.get(), kUtf8ByteOrderMark)) {
        error = LastErrorMessage();
        file_.reset();
        return false;
    }
    return true;
}

void LogFileSink::AddLine(const std::string& text, int, const std::string&)
{
    // A report line raises nothing: a full disk must not cut the update
    // short. The log stops at the first failed write (a later line would
    // leave a hole in it) and the program's exit code tells.
    if (!file_ || WriteFailed())
        return;
    if (!WriteAll(file_.get(), ReportLogBytes(text))) {
        writeError_ = LastErrorMessage();
        if (writeError_.empty())
            writeError_ = "?";
    }
}

}  // namespace qv::win32
