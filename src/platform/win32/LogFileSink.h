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
    // byte-order mark. False when it cannot be made; error then holds the
    // system's message and the sink writes nothing.
    bool Create(const std::string& path, std::string& error);

    void AddLine(const std::string& text, int size, const std::string& fontName) override;

private:
    UniqueFile file_;
};

}  // namespace qv::win32
