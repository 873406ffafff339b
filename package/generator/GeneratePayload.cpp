// Makes the payload of this build's package: the real product files are not
// available, so every file listed in FileNames.txt, and the marker, is
// generated with the shape and size of its kind (text-like interface files,
// small images, one large bitmap, programs and libraries), from a seed drawn
// from its name, with a fixed time stamp. The same input always gives the
// same bytes and times.
//
//   generate-payload MANIFESTS_FOLDER OUTPUT_FOLDER
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "core/ProductTables.h"
#include "core/Text.h"
#include "tools/qvpack/FileTimes.h"

namespace fs = std::filesystem;

namespace {

// The manifests of the package, copied as they are.
const char* const kManifests[] = {"AppInfo1.txt", "AppInfo2.txt", "UpdateInfo.txt", "Updates.txt",
                                  "FileNames.txt"};
// The package is for Quorvex Finance: its marker file.
const std::string kMarker(qv::DescriptorOf(qv::ProductKind::QuorvexFinance).MainFile());

// 2024-03-17 10:30:00 UTC: the files' times spread over the month before it.
constexpr std::uint64_t kReleaseTime = 133551450000000000ull;
constexpr std::uint64_t kSecond = 10000000ull;
constexpr std::uint64_t kDay = 86400 * kSecond;

class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint64_t Next()  // splitmix64
    {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    std::uint32_t Below(std::uint32_t n) { return static_cast<std::uint32_t>(Next() % n); }
    // Sizes of real files are skewed: many small, few large.
    std::size_t Size(std::size_t low, std::size_t high)
    {
        double u = static_cast<double>(Next() >> 11) / 9007199254740992.0;
        return low + static_cast<std::size_t>(static_cast<double>(high - low) * u * u * u);
    }

private:
    std::uint64_t state_;
};

std::uint64_t Fnv1a(std::string_view text)
{
    std::uint64_t h = 0xCBF29CE484222325ull;
    for (unsigned char c : text)
        h = (h ^ c) * 0x100000001B3ull;
    return h;
}

std::string Extension(const std::string& name)
{
    auto dot = name.rfind('.');
    return dot == std::string::npos ? "" : qv::LowerAscii(name.substr(dot + 1));
}

// Text in the style of the product's interface files (Windows-1252, CR LF).
std::string InterfaceText(Random& r, std::size_t size)
{
    static const char* const kWords[] = {
        "Compte", "Journal", "Ecriture", "Montant", "Débit", "Crédit", "Libellé", "Échéance",
        "Société", "Période", "Exercice", "Solde", "Devise", "Taux", "Tiers", "Règlement",
        "Clôture", "Trésorerie", "Analytique", "Immobilisation", "Dossier", "Utilisateur"};
    static const char* const kTypes[] = {"Integer", "Currency", "TDateTime", "String[40]", "Boolean", "Double"};
    const std::size_t wordCount = sizeof kWords / sizeof kWords[0];
    std::ostringstream out;
    out << "unit " << kWords[r.Below(wordCount)] << r.Below(100) << ";\r\n\r\ninterface\r\n\r\n";
    while (static_cast<std::size_t>(out.tellp()) < size) {
        switch (r.Below(4)) {
        case 0:
            out << "  { " << kWords[r.Below(wordCount)] << " : " << kWords[r.Below(wordCount)]
                << " de la " << kWords[r.Below(wordCount)] << " }\r\n";
            break;
        case 1:
            out << "  F" << kWords[r.Below(wordCount)] << r.Below(1000) << " : "
                << kTypes[r.Below(6)] << ";\r\n";
            break;
        case 2:
            out << "  procedure Calcul" << kWords[r.Below(wordCount)] << "(A" << r.Below(50)
                << " : " << kTypes[r.Below(6)] << ");\r\n";
            break;
        default:
            out << "  C" << r.Below(100000) << " = " << r.Below(1000000) << ";\r\n";
        }
    }
    out << "\r\nimplementation\r\n\r\nend.\r\n";
    return qv::Utf8ToCp1252(out.str());
}

void PutLe(std::string& out, std::uint32_t value, int width)
{
    for (int i = 0; i < width; ++i)
        out += static_cast<char>(value >> (8 * i));
}

// A valid 24-bit bottom-up bitmap: soft gradients, a few bands and a little
// noise, which compresses about as well as a screen picture does.
std::string Bitmap(Random& r, std::uint32_t width, std::uint32_t height)
{
    std::uint32_t row = (width * 3 + 3) & ~3u;
    std::string out;
    out.reserve(54 + std::size_t(row) * height);
    out += "BM";
    PutLe(out, 54 + row * height, 4);
    PutLe(out, 0, 4);
    PutLe(out, 54, 4);
    PutLe(out, 40, 4);
    PutLe(out, width, 4);
    PutLe(out, height, 4);
    PutLe(out, 1, 2);
    PutLe(out, 24, 2);
    PutLe(out, 0, 4);
    PutLe(out, row * height, 4);
    PutLe(out, 2835, 4);
    PutLe(out, 2835, 4);
    PutLe(out, 0, 4);
    PutLe(out, 0, 4);
    std::uint32_t tint = static_cast<std::uint32_t>(r.Next());
    std::uint32_t band = 8 + r.Below(64);
    for (std::uint32_t y = 0; y < height; ++y) {
        for (std::uint32_t x = 0; x < width; ++x) {
            std::uint32_t noise = r.Below(100) < 12 ? r.Below(6) : 0;
            bool inBand = (y / band) % 5 == 0;
            out += static_cast<char>((x * 255 / width + (tint & 0xFF) + noise) & 0xFF);
            out += static_cast<char>((y * 255 / height + ((tint >> 8) & 0xFF)) & 0xFF);
            out += static_cast<char>(inBand ? 0xF0 : ((tint >> 16) & 0xFF) + noise);
        }
        out.append(row - width * 3, '\0');
    }
    return out;
}

// An icon holding one 32x32 32-bit image.
std::string Icon(Random& r)
{
    std::string dib = Bitmap(r, 32, 32).substr(14);  // header without the file header
    std::string out;
    PutLe(out, 0, 2);
    PutLe(out, 1, 2);
    PutLe(out, 1, 2);
    out += static_cast<char>(32);
    out += static_cast<char>(32);
    PutLe(out, 0, 2);
    PutLe(out, 1, 2);
    PutLe(out, 24, 2);
    PutLe(out, static_cast<std::uint32_t>(dib.size()), 4);
    PutLe(out, 22, 4);
    return out + dib;
}

// Programs and libraries: a DOS stub, then code-like bytes (short repeated
// sequences), tables of small numbers and packed data, in about the
// proportions that make real binaries compress to half their size.
std::string Binary(Random& r, std::size_t size)
{
    std::string out = "MZ";
    out.append(58, '\0');
    PutLe(out, 0x80, 4);
    out += "This program cannot be run in DOS mode.\r\r\n$";
    out.resize(0x80, '\0');
    out += std::string("PE\0\0", 4);
    while (out.size() < size) {
        std::size_t chunk = 256 + r.Below(4096);
        switch (r.Below(3)) {
        case 0:
            for (std::size_t i = 0; i < chunk; ++i)
                out += static_cast<char>(r.Next());
            break;
        case 1: {
            std::string op;
            for (int i = 0; i < 6; ++i)
                op += static_cast<char>(r.Below(16) * 16);
            for (std::size_t i = 0; i < chunk; i += op.size())
                out += op;
            break;
        }
        default:
            for (std::size_t i = 0; i < chunk / 4; ++i)
                PutLe(out, r.Below(512), 4);
        }
    }
    out.resize(size);
    return out;
}

std::string Contents(const std::string& name, Random& r)
{
    std::string ext = Extension(name);
    if (name == "images07\\accueil.bmp")
        return Bitmap(r, 2200, 1760);  // the large one: 11,616,054 bytes
    if (ext == "int")
        return InterfaceText(r, r.Size(1500, 48000));
    if (ext == "bmp")
        return Bitmap(r, 16 + r.Below(81), 16 + r.Below(49));
    if (ext == "ico")
        return Icon(r);
    if (ext == "exe" || ext == "dll")
        return Binary(r, r.Size(40000, 900000));
    if (ext == "hlp" || ext == "cnt")
        return Binary(r, r.Size(2000, 200000));
    return InterfaceText(r, r.Size(300, 20000));  // txt, ini, xsd, dat
}

void Write(const fs::path& root, const std::string& name, const std::string& bytes, std::uint64_t time)
{
    std::string relative = name;
    for (char& c : relative)
        if (c == '\\')
            c = '/';
    fs::path path = root / relative;
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
    qv::qvpack::SetWriteTime(path, time);
}

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path.string());
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return std::move(bytes).str();
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: generate-payload MANIFESTS_FOLDER OUTPUT_FOLDER\n";
        return 2;
    }
    try {
        fs::path manifests = argv[1], output = argv[2];
        fs::remove_all(output);
        fs::create_directories(output);

        // The files' own times are spread over the month before the release,
        // each with a sub-second part so that time stamps are checked to 100 ns.
        std::vector<std::string> names = qv::SplitLines(ReadFile(manifests / "FileNames.txt"));
        std::uint64_t total = 0;
        for (const std::string& name : names) {
            std::uint64_t seed = Fnv1a(name);
            Random r(seed);
            std::string bytes = Contents(name, r);
            total += bytes.size();
            std::uint64_t time = kReleaseTime - 30 * kDay + (seed % (30 * 86400)) * kSecond + seed % kSecond;
            Write(output, name, bytes, time);
        }
        Random markerRandom(Fnv1a(kMarker));
        std::string marker = qv::Utf8ToCp1252("[Version]\r\nProduit=Quorvex Finance\r\nVersion=1.0.3.9\r\n"
                                               "Date=18.03.2024\r\n");
        Write(output, kMarker, marker, kReleaseTime + 1234567);
        for (const char* manifest : kManifests)
            Write(output, manifest, ReadFile(manifests / manifest), kReleaseTime + 3600 * kSecond + 7654321);
        std::cout << "generate-payload: " << names.size() + 1 << " payload files, " << total + marker.size()
                  << " bytes, and " << std::size(kManifests) << " manifests in " << output.string() << "\n";
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "generate-payload: " << e.what() << "\n";
        return 1;
    }
}
