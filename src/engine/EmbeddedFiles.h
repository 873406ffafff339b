#pragma once
// The packaged files, found by name and handed out as bytes, lines, rich
// text or a file on disk stamped with its packaged time.
//
// Names are looked up with their letters upper-cased as Windows looks up a
// resource (the accented letters of Windows-1252 too, see StoredNameOf) and
// nothing else changed: "gs\date.int" finds GS\DATE.INT, "Modèles\a.ini"
// finds MODÈLES\A.INI, "gs/date.int" finds nothing.
// A name that is not packaged is never an error.
#include <optional>
#include <string>
#include <vector>

#include "core/MemoryStream.h"
#include "core/StoredForm.h"
#include "platform/EmbeddedSource.h"
#include "platform/FileSystem.h"
#include "platform/RichTextViewer.h"

namespace qv {

class EmbeddedFiles {
public:
    EmbeddedFiles(EmbeddedSource& source, FileSystem& files) : source_(source), files_(files) {}

    // The payload and its time stamp, or nullopt when not packaged. Raises
    // the decoder's errors (StoredForm.h) for a damaged stored form, and the
    // source's error when the entry cannot be read; nothing stays allocated.
    std::optional<StoredFile> LoadEmbeddedFile(const std::string& name);

    // Writes the payload into stream at its position; false when not packaged.
    bool ReadEmbeddedFile(const std::string& name, MemoryStream& stream);

    // Clears lines, then fills them with the payload's lines (CR LF, CR or
    // LF; text ends at a NUL). Returns their count: 0 for an absent or empty
    // file alike. Only the manifests are read as lines: a payload longer
    // than manifest::kMaxTextManifestLength raises an error naming the file
    // ("Le fichier ... est trop volumineux"), lines left empty.
    int ReadEmbeddedLines(const std::string& name, std::vector<std::string>& lines);

    // Clears the viewer (found or not), streams the payload in as RTF and
    // returns the viewer's line count; 0 when not packaged. A payload longer
    // than manifest::kMaxChangesListLength raises as ReadEmbeddedLines does.
    int LoadEmbeddedRichText(const std::string& name, RichTextViewer& viewer);

    // Creates (or replaces) target with the payload and sets its last-write
    // time to the packaged one. Returns target, or "" when the name is not
    // packaged (then nothing is touched). A target that cannot be created
    // raises a FileCreationError naming it, and an existing file of that
    // name keeps its contents and its time; a file that was created but not
    // fully written is still stamped before the error is passed on.
    std::string WriteEmbeddedFile(const std::string& name, const std::string& target);

private:
    // LoadEmbeddedFile for a manifest, refused before it is inflated when
    // its header claims more than maxLength bytes.
    std::optional<StoredFile> LoadManifest(const std::string& name, std::int64_t maxLength);

    EmbeddedSource& source_;
    FileSystem& files_;
};

}  // namespace qv
