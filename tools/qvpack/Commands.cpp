#include "tools/qvpack/Commands.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <sstream>

#include "core/Errors.h"
#include "core/Manifests.h"
#include "core/PackageFile.h"
#include "core/StoredForm.h"
#include "core/Text.h"
#include "platform/PackageFileSource.h"
#include "tools/qvpack/FileTimes.h"
#include "tools/qvpack/PackagedNames.h"

namespace fs = std::filesystem;

namespace qv::qvpack {

namespace {

std::string ReadWholeFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw Error("Cannot open " + path.string());
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (in.bad())
        throw Error("Cannot read " + path.string());
    return std::move(bytes).str();
}

void WriteWholeFile(const fs::path& path, std::string_view bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out)
        throw Error("Cannot create " + path.string());
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out)
        throw Error("Cannot write " + path.string());
}

// The packaged (Windows-1252, backslash) form of a relative path, and back.
std::string PackagedName(const fs::path& relative)
{
    std::u8string utf8 = relative.generic_u8string();
    std::string name = Utf8ToCp1252(std::string(utf8.begin(), utf8.end()));
    std::replace(name.begin(), name.end(), '/', '\\');
    return name;
}

fs::path LocalPath(const fs::path& root, const std::string& packagedName)
{
    fs::path path = root;
    std::string utf8 = Cp1252ToUtf8(packagedName);
    std::size_t start = 0;
    while (start <= utf8.size()) {
        std::size_t end = utf8.find_first_of("\\/", start);
        if (end == std::string::npos)
            end = utf8.size();
        std::string part = utf8.substr(start, end - start);
        path /= fs::path(std::u8string(part.begin(), part.end()));
        start = end + 1;
    }
    return path;
}

std::string FormatFileTime(std::uint64_t fileTime)
{
    if (fileTime < kUnixEpochFileTime)
        return "before 1970 (" + std::to_string(fileTime) + ")";
    std::uint64_t since = fileTime - kUnixEpochFileTime;
    std::time_t seconds = static_cast<std::time_t>(since / 10000000u);
    std::tm utc{};
#ifdef _WIN32
    gmtime_s(&utc, &seconds);
#else
    gmtime_r(&seconds, &utc);
#endif
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%07u UTC", utc.tm_year + 1900,
                  utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec,
                  static_cast<unsigned>(since % 10000000u));
    return text;
}

std::string Quoted(std::string_view name)
{
    std::string out(1, '"');
    out += Cp1252ToUtf8(name);
    out += '"';
    return out;
}

// A resource script string: backslashes and quotes escaped.
std::string RcString(std::string_view text)
{
    std::string out = "\"";
    for (char c : text) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '"')
            out += "\"\"";
        else
            out += c;
    }
    return out + "\"";
}

std::unique_ptr<PackageFileSource> OpenPackage(const fs::path& file)
{
    return std::make_unique<PackageFileSource>(ReadWholeFile(file));
}

// Lines of a manifest in the package, or none when it is absent.
std::vector<std::string> ManifestLines(PackageFileSource& package, const char* name)
{
    auto stored = package.Find(UpperAscii(name));
    if (!stored)
        return {};
    return SplitLines(DecodeStoredForm(*stored).payload);
}

template <typename Command>
int Guarded(std::ostream& err, Command command)
{
    try {
        return command();
    } catch (const std::exception& e) {
        err << "qvpack: " << Cp1252ToUtf8(e.what()) << "\n";
        return 1;
    }
}

}  // namespace

int Build(const fs::path& source, const fs::path& packageFile, const fs::path& rcFile,
          std::ostream& out, std::ostream& err)
{
    return Guarded(err, [&] {
        if (!fs::is_directory(source))
            throw Error("No such folder: " + source.string());

        // Every regular file, in a fixed order, checked before anything is written.
        std::map<std::string, fs::path> byName;  // upper-cased name -> file
        for (const auto& item : fs::recursive_directory_iterator(source)) {
            if (!item.is_regular_file())
                continue;
            std::string name = PackagedName(fs::relative(item.path(), source));
            if (std::string why = UnsafeNameReason(name); !why.empty()) {
                err << "qvpack: refused payload name " << Quoted(name) << ": " << why << "\n";
                return 1;
            }
            auto [it, fresh] = byName.emplace(UpperAscii(name), item.path());
            if (!fresh) {
                err << "qvpack: " << Quoted(name) << " and "
                    << Quoted(PackagedName(fs::relative(it->second, source)))
                    << " collide once upper-cased\n";
                return 1;
            }
        }

        std::vector<std::string> stored;
        stored.reserve(byName.size());
        std::uint64_t payloadBytes = 0;
        for (const auto& [name, path] : byName) {
            std::string payload = ReadWholeFile(path);
            if (payload.size() > static_cast<std::uint64_t>(kMaxStoredLength))
                throw Error("File too large to package: " + path.string());
            payloadBytes += payload.size();
            stored.push_back(EncodeStoredForm(payload, ReadWriteTime(path)));
        }
        std::vector<PackageEntry> entries;
        std::size_t i = 0;
        for (const auto& [name, path] : byName)
            entries.push_back({name, stored[i++]});
        WriteWholeFile(packageFile, WritePackageFile(entries));

        if (!rcFile.empty()) {
            fs::path folder = rcFile;
            folder += ".d";
            fs::create_directories(folder);
            std::string script =
                "// The package: every file as a named RCDATA resource holding its\n"
                "// stored form. Generated by qvpack; do not edit.\n"
                "#pragma code_page(1252)\n";
            for (std::size_t k = 0; k < entries.size(); ++k) {
                char file[32];
                std::snprintf(file, sizeof file, "%05zu.z", k + 1);
                fs::path target = folder / file;
                WriteWholeFile(target, entries[k].stored);
                // Language neutral. The statement before every entry also keeps
                // the compiler from joining a file name to the next entry's
                // name, as it joins adjacent strings.
                script += "LANGUAGE 0, 0\n" + RcString(entries[k].name) + " RCDATA " +
                          RcString(fs::absolute(target).generic_string()) + "\n";
            }
            WriteWholeFile(rcFile, script);
        }
        std::uint64_t storedBytes = 0;
        for (const auto& s : stored)
            storedBytes += s.size();
        out << "qvpack: " << entries.size() << " files, " << payloadBytes << " bytes, stored in "
            << storedBytes << " bytes\n";
        return 0;
    });
}

int List(const fs::path& file, std::ostream& out, std::ostream& err)
{
    return Guarded(err, [&] {
        auto package = OpenPackage(file);
        for (const PackageEntry& e : package->Entries()) {
            StoredFormCheck check = CheckStoredForm(e.stored);
            char sizes[64];
            std::snprintf(sizes, sizeof sizes, "%11lld %11zu  ",
                          static_cast<long long>(check.length), e.stored.size());
            out << sizes << FormatFileTime(check.time) << "  " << Cp1252ToUtf8(e.name)
                << (check.ok ? "" : "  [" + check.problem + "]") << "\n";
        }
        out << package->Entries().size() << " files\n";
        return 0;
    });
}

int Verify(const fs::path& file, std::ostream& out, std::ostream& err)
{
    return Guarded(err, [&] {
        auto package = OpenPackage(file);
        std::vector<std::string> problems;
        std::map<std::string, std::string> seen;
        for (const PackageEntry& e : package->Entries()) {
            if (StoredFormCheck check = CheckStoredForm(e.stored); !check.ok)
                problems.push_back(Quoted(e.name) + ": " + check.problem);
            if (e.name != UpperAscii(e.name))
                problems.push_back(Quoted(e.name) + ": not stored upper-cased, never found");
            if (std::string why = UnsafeNameReason(e.name); !why.empty())
                problems.push_back(Quoted(e.name) + ": " + why);
            auto [it, fresh] = seen.emplace(UpperAscii(e.name), e.name);
            if (!fresh)
                problems.push_back(Quoted(e.name) + " and " + Quoted(it->second) +
                                   " collide once upper-cased");
        }
        for (const char* manifestName : {manifest::kFileNames, manifest::kPrintLists}) {
            try {
                int line = 0;
                for (const std::string& entry : ManifestLines(*package, manifestName)) {
                    ++line;
                    if (!package->Find(UpperAscii(entry)))
                        problems.push_back(std::string(manifestName) + " line " +
                                           std::to_string(line) + ": " + Quoted(entry) +
                                           " is not packaged");
                }
            } catch (const Error& e) {
                problems.push_back(std::string(manifestName) + ": " + e.Message());
            }
        }
        for (const std::string& p : problems)
            err << "qvpack: " << p << "\n";
        if (!problems.empty()) {
            err << "qvpack: " << problems.size() << " problems in " << file.string() << "\n";
            return 1;
        }
        out << "qvpack: " << package->Entries().size() << " files verified in " << file.string()
            << "\n";
        return 0;
    });
}

int Extract(const fs::path& file, const fs::path& destination, const std::vector<std::string>& only,
            std::ostream& out, std::ostream& err)
{
    return Guarded(err, [&] {
        auto package = OpenPackage(file);
        std::set<std::string> wanted;
        for (const std::string& name : only)
            wanted.insert(UpperAscii(name));
        std::vector<const PackageEntry*> chosen;
        for (const PackageEntry& e : package->Entries()) {
            if (!wanted.empty() && !wanted.count(UpperAscii(e.name)))
                continue;
            if (std::string why = UnsafeNameReason(e.name); !why.empty()) {
                err << "qvpack: refused payload name " << Quoted(e.name) << ": " << why << "\n";
                return 1;
            }
            chosen.push_back(&e);
        }
        if (!wanted.empty() && chosen.size() != wanted.size()) {
            err << "qvpack: " << (wanted.size() - chosen.size()) << " of the names asked for are not packaged\n";
            return 1;
        }
        for (const PackageEntry* e : chosen) {
            StoredFile stored = DecodeStoredForm(e->stored);
            fs::path target = LocalPath(destination, e->name);
            fs::create_directories(target.parent_path());
            WriteWholeFile(target, stored.payload);
            SetWriteTime(target, stored.time);
        }
        out << "qvpack: " << chosen.size() << " files extracted to " << destination.string() << "\n";
        return 0;
    });
}

}  // namespace qv::qvpack
