#include "engine/EmbeddedFiles.h"

#include "core/Errors.h"
#include "core/RunTimings.h"
#include "core/Text.h"

namespace qv {

std::optional<StoredFile> EmbeddedFiles::LoadEmbeddedFile(const std::string& name)
{
    std::optional<std::string_view> stored = source_.Find(UpperAscii(name));
    if (!stored)
        return std::nullopt;
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
    std::optional<StoredFile> file = LoadEmbeddedFile(name);
    if (!file)
        return 0;
    lines = SplitLines(file->payload);
    return static_cast<int>(lines.size());
}

int EmbeddedFiles::LoadEmbeddedRichText(const std::string& name, RichTextViewer& viewer)
{
    viewer.Clear();
    std::optional<StoredFile> file = LoadEmbeddedFile(name);
    if (!file)
        return 0;
    viewer.StreamRtf(file->payload);
    return viewer.LineCount();
}

std::string EmbeddedFiles::WriteEmbeddedFile(const std::string& name, const std::string& target)
{
    std::optional<StoredFile> file;
    {
        timings::Scope measured(timings::Stage::Inflating);
        file = LoadEmbeddedFile(name);
    }
    if (!file)
        return std::string();
    try {
        timings::Scope measured(timings::Stage::WritingTemp);
        files_.WriteNewFile(target, file->payload);
    } catch (const FileCreationError&) {
        // Nothing was written: a file of that name keeps its own time, so it
        // never carries the packaged time without the packaged contents.
        throw;
    } catch (...) {
        // A half-written file still gets its stamp; the write error is the
        // one the caller needs to see.
        try {
            files_.SetFileWriteTime(target, file->time);
        } catch (...) {
        }
        throw;
    }
    timings::Scope measured(timings::Stage::Stamping);
    files_.SetFileWriteTime(target, file->time);
    return target;
}

}  // namespace qv
