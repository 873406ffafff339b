#include "engine/EmbeddedFiles.h"

#include "core/Errors.h"
#include "core/Format.h"
#include "core/Manifests.h"
#include "core/PackagedNames.h"
#include "core/RunTimings.h"
#include "core/Text.h"
#include "core/Texts.h"

namespace qv {

std::optional<StoredFile> EmbeddedFiles::LoadEmbeddedFile(const std::string& name)
{
    std::optional<std::string_view> stored = source_.Find(StoredNameOf(name));
    if (!stored)
        return std::nullopt;
    return DecodeStoredForm(*stored);
}

std::optional<StoredFile> EmbeddedFiles::LoadManifest(const std::string& name, std::int64_t maxLength)
{
    std::optional<std::string_view> stored = source_.Find(StoredNameOf(name));
    if (!stored)
        return std::nullopt;
    // The length the header claims is checked before any of it is allocated.
    const std::int64_t length = ReadStoredHeader(*stored).length;
    if (length > maxLength)
        throw Error(Format(texts::kManifestTooLarge, {name, static_cast<long long>(length),
                                                      static_cast<long long>(maxLength)}));
    return DecodeStoredForm(*stored);
}

bool EmbeddedFiles::ReadEmbeddedFile(const std::string& name, MemoryStream& stream)
{
    std::optional<StoredFile> file = LoadEmbeddedFile(name);
    if (!file)
        return false;
    stream.Write(file->payload);
    return true;
}

int EmbeddedFiles::ReadEmbeddedLines(const std::string& name, std::vector<std::string>& lines)
{
    lines.clear();
    std::optional<StoredFile> file = LoadManifest(name, manifest::kMaxTextManifestLength);
    if (!file)
        return 0;
    lines = SplitLines(file->payload);
    return static_cast<int>(lines.size());
}

int EmbeddedFiles::LoadEmbeddedRichText(const std::string& name, RichTextViewer& viewer)
{
    viewer.Clear();
    std::optional<StoredFile> file = LoadManifest(name, manifest::kMaxChangesListLength);
    if (!file)
        return 0;
    viewer.StreamRtf(file->payload);
    return viewer.LineCount();
}

std::string EmbeddedFiles::WriteEmbeddedFile(const std::string& name, const std::string& target)
{
    std::optional<std::string_view> stored = source_.Find(StoredNameOf(name));
    if (!stored)
        return std::string();
    // The payload goes from the inflater to the file a piece at a time, so
    // that a large file is never held whole. A stream that is no stored
    // form is refused before the file is touched; one found damaged further
    // on takes away the file it had begun.
    std::uint64_t time = ReadStoredHeader(*stored).time;
    bool writing = false;
    bool begun = false;
    timings::SplitStage measured(timings::Stage::Inflating, timings::Stage::WritingTemp);
    try {
        files_.WriteNewFileInPieces(target, [&](FileSystem::PieceWriter& file) {
            begun = true;
            DecodeStoredFormInPieces(
                *stored, [](std::int64_t, std::uint64_t) {},
                [&](std::string_view piece) {
                    const timings::SplitStage::Part writingPart(measured);
                    writing = true;
                    file.Write(piece);
                    writing = false;
                });
        });
    } catch (const FileCreationError&) {
        // Nothing was written: a file of that name keeps its own time, so it
        // never carries the packaged time without the packaged contents.
        throw;
    } catch (...) {
        if (begun && !writing) {
            // The stored form is damaged: no half file stays behind.
            try {
                files_.RemoveFile(target);
            } catch (...) {
            }
            throw;
        }
        // A half-written file still gets its stamp; the write error is the
        // one the caller needs to see.
        try {
            files_.SetFileWriteTime(target, time);
        } catch (...) {
        }
        throw;
    }
    measured.End();
    timings::Scope stamping(timings::Stage::Stamping);
    files_.SetFileWriteTime(target, time);
    return target;
}

}  // namespace qv
