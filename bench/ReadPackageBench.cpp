// Reads every packaged file of this build's package the way an update does
// (inflate each payload straight into a temporary file, a piece at a time)
// and prints the throughput and the peak memory of the process.
//
//   bench-read-package [PACKAGE_FILE]
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/StoredForm.h"
#include "platform/PackageFileSource.h"

namespace fs = std::filesystem;

namespace {

double PeakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;  // kB on Linux
}

}  // namespace

int main(int argc, char** argv)
{
    const char* packagePath = argc > 1 ? argv[1] : QV_PACKAGE_FILE;
    std::ifstream in(packagePath, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "bench: cannot open %s\n", packagePath);
        return 1;
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    double packageMb = static_cast<double>(bytes.str().size()) / 1e6;
    qv::PackageFileSource package(std::move(bytes).str());
    double startMb = PeakMegabytes();

    fs::path temp = fs::temp_directory_path() / "UpdateBench.tmp";
    std::uint64_t total = 0, largest = 0;
    auto start = std::chrono::steady_clock::now();
    std::size_t count = 0;
    double inflating = 0;
    double writing = 0;
    for (const std::string& name : package.Names()) {
        auto before = std::chrono::steady_clock::now();
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        std::uint64_t size = 0;
        qv::DecodeStoredFormInPieces(
            *package.Find(name), [](std::int64_t, std::uint64_t) {},
            [&](std::string_view piece) {
                auto writeStart = std::chrono::steady_clock::now();
                out.write(piece.data(), static_cast<std::streamsize>(piece.size()));
                writing += std::chrono::duration<double>(std::chrono::steady_clock::now() - writeStart).count();
                size += piece.size();
            });
        out.close();
        inflating += std::chrono::duration<double>(std::chrono::steady_clock::now() - before).count();
        total += size;
        largest = std::max<std::uint64_t>(largest, size);
        ++count;
    }
    inflating -= writing;
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    fs::remove(temp);

    double peak = PeakMegabytes();
    double largestMib = static_cast<double>(largest) / (1024.0 * 1024.0);
    std::printf("files              %zu\n", count);
    std::printf("payload            %.1f MB (largest %.2f MB)\n", total / 1e6, largest / 1e6);
    std::printf("package file       %.1f MB held in memory\n", packageMb);
    std::printf("time               %.3f s\n", seconds);
    std::printf("throughput         %.1f MB/s inflated and written\n", total / 1e6 / seconds);
    std::printf("inflating          %.1f MB/s (%.3f s, opening and closing the files included)\n",
                total / 1e6 / inflating, inflating);
    std::printf("peak memory        %.1f MiB (%.1f MiB before reading)\n", peak, startMb);
    std::printf("peak while reading %.1f MiB above the start, the largest payload being %.1f MiB\n",
                peak - startMb, largestMib);
    return 0;
}
