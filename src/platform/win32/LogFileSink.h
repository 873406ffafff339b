#pragma once
// The report written to a log file as it grows (/LOG=file): UTF-8 with a
// byte-order mark, CR LF line ends. Each line goes to the file at once, so
// the file is complete up to the last line whatever ends the program.
#include <string>

#include "platform/ReportSink.h"
#include "platform/win32/Win32Handles.h"

namespace qv::win32 {

class LogFileSink final : public ReportSink {
public:
    // Creates the file (an existing one is overwritten) and writes the
    // byte-order mark. A relative path is taken from the current folder. A
    // path that is a link or a junction, or lies in a folder that is one,
    // is refused: the log would be written somewhere else. False when it
    // cannot be made; error then holds the reason and the sink writes
    // nothing.
    bool Create(const std::string& path, std::string& error);

    // Writes the line at once. A write that fails (full disk, share gone)
    // stops the log there and is remembered; the run itself goes on.
    void AddLine(const std::string& text, int size, const std::string& fontName) override;

    // The full path the log was created under.
    const std::string& FullPath() const { return fullPath_; }
    // True once a write has failed; WriteError tells why.
    bool WriteFailed() const { return !writeError_.empty(); }
    const std::string& WriteError() const { return writeError_; }

private:
    UniqueFile file_;
    std::string fullPath_;
    std::string writeError_;
};

}  // namespace qv::win32
