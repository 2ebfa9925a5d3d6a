// Writes index books with `fumibako-cli index` and compares the time with `find -type f` listing
// the same folder in the same run: one fiscal year of 100,000 stored files, and the storage root
// of ten such years, 1,000,000 files. Also reports the export's peak memory. The books are written
// to a folder in memory (/dev/shm where there is one): find writes nothing, and the comparison is
// of the work of the two programs, not of the speed of the disk taking the book.

#include "support/BenchSupport.h"
#include "support/StorageTree.h"

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>

#include <fcntl.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr double kTimeTarget = 1.0;
constexpr double kMemoryTargetMegabytes = 30;
using fmb::bench::kFilesPerYear;
using fmb::bench::kYears;

// A fresh folder for the books, in memory where the system has such a folder.
fmb::bench::ScratchDir BookFolder() {
    std::error_code error;
    if (fs::is_directory("/dev/shm", error)) {
        return fmb::bench::ScratchDir("/dev/shm");
    }
    return fmb::bench::ScratchDir();
}

struct Comparison {
    double medianRatio = 0;
    double peakMegabytes = 0;
};

// Times the export of folder against find on it, rounds alternating who goes first.
Comparison Compare(const char* what, const fs::path& folder, int files, int rounds) {
    const fmb::bench::ScratchDir books = BookFolder();
    const fs::path book = books.Path() / "索引簿.csv";
    const std::vector<std::string> find = {"find", folder.string(), "-type", "f"};
    const std::vector<std::string> exportRun = {FUMIBAKO_CLI, "index", folder.string(),
                                                book.string()};
    // Each run writes a new book, as a run with the default dated file name does.
    double peakMegabytes = 0;
    const auto exportOnce = [&] {
        fs::remove(book);
        const fmb::bench::ChildRun run = fmb::bench::RunChild(exportRun);
        peakMegabytes = std::max(peakMegabytes, run.peakMegabytes);
        return run.seconds;
    };
    // Warm the caches for both before measuring.
    fmb::bench::RunChild(find);
    exportOnce();
    std::vector<double> ours;
    std::vector<double> finds;
    for (int round = 0; round < rounds; ++round) {
        if (round % 2 == 0) {
            ours.push_back(exportOnce());
            finds.push_back(fmb::bench::RunChild(find).seconds);
        } else {
            finds.push_back(fmb::bench::RunChild(find).seconds);
            ours.push_back(exportOnce());
        }
    }
    std::printf("index: %s, %d stored files (book of %.1f MB), %d rounds\n", what, files,
                static_cast<double>(fs::file_size(book)) / 1e6, rounds);
    fmb::bench::PrintRatio("  fumibako-cli index", ours, "find -type f", finds, kTimeTarget);
    return {fmb::bench::Median(ours) / fmb::bench::Median(finds), peakMegabytes};
}

} // namespace

int main() {
    try {
        const fs::path root = fmb::bench::StorageTree(FUMIBAKO_BENCH_DATA);
        const Comparison year = Compare("one fiscal year", root / "2014年度", kFilesPerYear, 9);
        const Comparison all = Compare("the storage root", root, kYears * kFilesPerYear, 5);
        std::printf("  peak memory of the export: %.1f MB at %d files, %.1f MB at %d files "
                    "(target < %.0f MB at %d)\n",
                    year.peakMegabytes, kFilesPerYear, all.peakMegabytes, kYears * kFilesPerYear,
                    kMemoryTargetMegabytes, kYears * kFilesPerYear);
        const bool met = year.medianRatio <= kTimeTarget && all.medianRatio <= kTimeTarget &&
                         all.peakMegabytes < kMemoryTargetMegabytes;
        std::printf("index targets %s: time <= %.2f x find at %d and %d files, memory < %.0f MB\n",
                    met ? "met" : "NOT MET", kTimeTarget, kFilesPerYear, kYears * kFilesPerYear,
                    kMemoryTargetMegabytes);
        return 0;
    } catch (const std::exception& error) {
        std::cerr << "index_export_bench: " << error.what() << '\n';
        return 1;
    }
}
