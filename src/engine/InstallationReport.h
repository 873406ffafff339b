#pragma once
// The installation report: every action of an update, written as it happens
// to the report page's viewer. Lines written before the viewer is set are
// dropped.
#include <string>

#include "platform/FileSystem.h"
#include "platform/ReportSink.h"

namespace qv {

class InstallationReport {
public:
    explicit InstallationReport(FileSystem& files) : files_(files) {}

    // The viewer is not owned; nullptr drops the lines again.
    void SetReportTarget(ReportSink* target) { target_ = target; }

    // Appends text as a paragraph (a CR LF inside starts another one). size 0
    // keeps the current size, an empty fontName the current face. Raises no
    // error of its own.
    void AddReportLine(const std::string& text, int size = 0, const std::string& fontName = {});

    // Writes "Fichier <path> est supprimé." and then deletes the file; a
    // failed deletion raises the system error after the line was written.
    void DeleteFileWithReport(const std::string& path);

    // "Le fichier <path>" and the verdict, as two paragraphs.
    void ReportUpToDate(const std::string& path);
    void ReportNotReplaced(const std::string& path);

    // The two lines a copy writes before it starts: "Copie de <source>" and
    // "vers <target>".
    void ReportCopy(const std::string& source, const std::string& target);

    // After a copy that failed: "Le fichier <target> n'a pas pu être
    // copié :" and the reason (the system's message, say) on the next line.
    void ReportCopyFailed(const std::string& target, const std::string& reason);

private:
    FileSystem& files_;
    ReportSink* target_ = nullptr;
};

}  // namespace qv
