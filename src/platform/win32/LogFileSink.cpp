#include "platform/win32/LogFileSink.h"

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

}  // namespace

bool LogFileSink::Create(const std::string& path, std::string& error)
{
    // Others may read the log while the run writes it.
    file_.reset(::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file_ || !WriteAll(file_.get(), kUtf8ByteOrderMark)) {
        error = LastErrorMessage();
        file_.reset();
        return false;
    }
    return true;
}

void LogFileSink::AddLine(const std::string& text, int, const std::string&)
{
    // A report line raises nothing: a full disk loses the log's tail, never
    // the update.
    if (file_)
        WriteAll(file_.get(), ReportLogBytes(text));
}

}  // namespace qv::win32
