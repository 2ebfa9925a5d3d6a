// Writes the index book of a storage tree of 100,000 stored files with `fumibako-cli index` and
// compares the time with `find -type f` listing the same tree in the same run; also reports the
// export's peak memory.

#include "support/BenchSupport.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

namespace fs = std::filesystem;

namespace {

constexpr int kFiles = 100000;
constexpr int kRounds = 7;
constexpr double kTarget = 2.0;
constexpr double kMemoryTargetMegabytes = 150;

const char* const kTypes[] = {"請求書(控)", "請求書",   "領収書(控)", "領収書",
                              "見積書(控)", "見積書",   "注文書",     "納品書",
                              "契約書",     "給与明細", "カード明細", "その他"};
const char* const kCompanies[] = {"(株)〇〇商事",       "△△工業(株)",     "有限会社□□",
                                  "(株)ＡＢＣ",         "東京電力",       "(株)サンプル販売",
                                  "合同会社みらい企画", "山田太郎",       "(一社)日本協会",
                                  "ＸＹＺ　Ｃｏ．",     "(株)北海道物産", "個人商店さくら"};
const char* const kRemarks[] = {"", "", "", "3月分", "前払い", "第1.2版", "再発行", "分割2回目"};

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

// storage root / fiscal year / type / month / [date][company][amount]...remark.pdf, five years of
// twelve types and twelve months, one to three amounts per name; the files are empty.
void Generate(const fs::path& root) {
    fmb::bench::Random random(20240105);
    constexpr int kFolders = 5 * 12 * 12;
    int made = 0;
    for (int y = 0; y < 5; ++y) {
        const int year = 2019 + y;
        const fs::path yearFolder = root / (std::to_string(year) + "年度");
        for (int t = 0; t < 12; ++t) {
            for (int m = 0; m < 12; ++m) {
                const int month = (m + 3) % 12 + 1;
                const int calendarYear = month <= 3 ? year + 1 : year;
                char monthName[32];
                std::snprintf(monthName, sizeof monthName, "%04d年%02d月", calendarYear, month);
                const fs::path folder = yearFolder / kTypes[t] / monthName;
                fs::create_directories(folder);
                const int index = (y * 12 + t) * 12 + m;
                const int count = kFiles * (index + 1) / kFolders - made;
                for (int i = 0; i < count; ++i) {
                    char date[16];
                    std::snprintf(date, sizeof date,
                                  random.Below(2) == 0 ? "%04d_%02d_%02d" : "%04d%02d%02d",
                                  calendarYear, month, 1 + random.Below(28));
                    std::string name = std::string("[") + date + "][" +
                                       kCompanies[random.Below(12)] + "][" + Amount(random) + "]";
                    for (int extra = random.Below(3); extra > 0; --extra) {
                        name += "[" + Amount(random) + "]";
                    }
                    if (random.Below(5) == 0) {
                        name += std::string("＜") + kTypes[t] + "＞";
                    }
                    name += kRemarks[random.Below(8)];
                    name += "_" + std::to_string(i) + ".pdf";
                    std::ofstream(folder / name);
                }
                made += count;
            }
        }
    }
}

} // namespace

int main() {
    try {
        fmb::bench::ScratchDir scratch;
        const fs::path root = scratch.Path() / "書類";
        Generate(root);
        const fs::path book = scratch.Path() / "索引簿.csv";
        const std::vector<std::string> find = {"find", root.string(), "-type", "f"};
        const std::vector<std::string> exportRun = {FUMIBAKO_CLI, "index", root.string(),
                                                    book.string()};
        // Each run writes a new book, as a run with the default dated file name does; writing
        // over a book of the same name adds the file system's flush of a truncated file.
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
        for (int round = 0; round < kRounds; ++round) {
            // Alternate who goes first, so neither always meets a warmer cache.
            if (round % 2 == 0) {
                ours.push_back(exportOnce());
                finds.push_back(fmb::bench::RunChild(find).seconds);
            } else {
                finds.push_back(fmb::bench::RunChild(find).seconds);
                ours.push_back(exportOnce());
            }
        }
        std::printf("index: index book of %d stored files (%.1f MB), %d rounds\n", kFiles,
                    static_cast<double>(fs::file_size(book)) / 1e6, kRounds);
        fmb::bench::PrintRatio("  fumibako-cli index", ours, "find", finds, kTarget);
        std::printf("  peak memory of the export: %.1f MB (target < %.0f MB)%s\n", peakMegabytes,
                    kMemoryTargetMegabytes,
                    peakMegabytes < kMemoryTargetMegabytes ? "" : "  ABOVE TARGET");
        return 0;
    } catch (const std::exception& error) {
        std::cerr << "index_export_bench: " << error.what() << '\n';
        return 1;
    }
}
