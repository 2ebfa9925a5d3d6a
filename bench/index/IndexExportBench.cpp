// Writes index books with `fumibako-cli index` and compares the time with `find -type f` listing
// the same folder in the same run: one fiscal year of 100,000 stored files, and the storage root
// of ten such years, 1,000,000 files. Also reports the export's peak memory.
//
// The storage tree is made once and kept under the build folder (making a million files takes a
// while); a tree whose making was cut short is made anew. The books are written to a folder in
// memory (/dev/shm where there is one): find writes nothing, and the comparison is of the work
// of the two programs, not of the speed of the disk taking the book.

#include "support/BenchSupport.h"

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>

#include <fcntl.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr int kYears = 10;
constexpr int kFilesPerYear = 100000;
constexpr double kTimeTarget = 1.0;
constexpr double kMemoryTargetMegabytes = 30;
// Written into the tree once it is complete; a new layout of the tree gets a new mark.
constexpr const char* kCompleteMark = ".complete-v1";

const char* const kTypes[] = {"請求書(控)", "請求書",   "領収書(控)", "領収書",
                              "見積書(控)", "見積書",   "注文書",     "納品書",
                              "契約書",     "給与明細", "カード明細", "その他"};
const char* const kCompanies[] = {"(株)〇〇商事",       "△△工業(株)",    "有限会社□□",
                                  "(株)ＡＢＣ",         "東京電力",      "(株)サンプル販売",
                                  "合同会社みらい企画", "(一社)日本協会"};
const char* const kRemarks[] = {"", "", "", "3月分", "前払い", "第1.2版", "再発行", "分割2回目"};
constexpr int kTypeCount = sizeof kTypes / sizeof kTypes[0];
constexpr int kCompanyCount = sizeof kCompanies / sizeof kCompanies[0];

std::string Amount(fmb::bench::Random& random) {
    std::string digits = std::to_string(1 + random.Below(9999999));
    // Thousands separators in most names, as the filing writes them by default.
    if (random.Below(4) != 0) {
        for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3) {
            digits.insert(static_cast<std::size_t>(i), ",");
        }
    }
    return digits;
}

void CreateEmptyFile(const fs::path& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0444);
    if (fd < 0) {
        throw std::runtime_error("cannot create " + path.string());
    }
    ::close(fd);
}

// storage root / fiscal year / type / company / month / [date][company][amount]...remark.pdf:
// ten years of twelve types, eight companies and twelve months, one to three amounts per name,
// read-only empty files as the filing leaves them.
void Generate(const fs::path& root) {
    fmb::bench::Random random(20240105);
    constexpr int kFoldersPerYear = kTypeCount * kCompanyCount * 12;
    for (int y = 0; y < kYears; ++y) {
        const int year = 2014 + y;
        const fs::path yearFolder = root / (std::to_string(year) + "年度");
        int made = 0;
        for (int folderIndex = 0; folderIndex < kFoldersPerYear; ++folderIndex) {
            const int t = folderIndex / (kCompanyCount * 12);
            const int c = folderIndex / 12 % kCompanyCount;
            const int month = (folderIndex % 12 + 3) % 12 + 1;
            const int calendarYear = month <= 3 ? year + 1 : year;
            char monthName[32];
            std::snprintf(monthName, sizeof monthName, "%04d年%02d月", calendarYear, month);
            const fs::path folder = yearFolder / kTypes[t] / kCompanies[c] / monthName;
            fs::create_directories(folder);
            const int count = kFilesPerYear * (folderIndex + 1) / kFoldersPerYear - made;
            for (int i = 0; i < count; ++i) {
                char date[16];
                std::snprintf(date, sizeof date,
                              random.Below(2) == 0 ? "%04d_%02d_%02d" : "%04d%02d%02d",
                              calendarYear, month, 1 + random.Below(28));
                std::string name =
                    std::string("[") + date + "][" + kCompanies[c] + "][" + Amount(random) + "]";
                for (int extra = random.Below(3); extra > 0; --extra) {
                    name += "[" + Amount(random) + "]";
                }
                if (random.Below(5) == 0) {
                    name += std::string("＜") + kTypes[t] + "＞";
                }
                name += kRemarks[random.Below(8)];
                name += "_" + std::to_string(i) + ".pdf";
                CreateEmptyFile(folder / name);
            }
            made += count;
        }
    }
}

// The storage root of the cached tree, made first when it is missing or incomplete.
fs::path StorageTree() {
    const fs::path cache = fs::path(FUMIBAKO_BENCH_DATA) / "index-tree";
    const fs::path root = cache / "書類";
    if (fs::exists(cache / kCompleteMark)) {
        return root;
    }
    std::printf("index: making the storage tree of %d files once, in %s\n", kYears * kFilesPerYear,
                cache.c_str());
    std::fflush(stdout);
    fs::remove_all(cache);
    fs::create_directories(cache);
    Generate(root);
    CreateEmptyFile(cache / kCompleteMark);
    return root;
}

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
        const fs::path root = StorageTree();
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
