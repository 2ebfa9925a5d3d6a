// Times the index-book export of a storage tree of 100,000 stored files against `find -type f`
// on the same tree, and measures the export's peak memory.
#include "BenchTools.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;
using namespace fmb::bench;

namespace {

constexpr int kFiles = 100000;
constexpr int kRounds = 5;
constexpr double kTargetRatio = 2.0;
constexpr double kTargetMemoryMb = 150;

const char* const kTypes[] = {"請求書(控)", "請求書",   "領収書(控)", "領収書",
                              "見積書(控)", "見積書",   "注文書",     "納品書",
                              "契約書",     "給与明細", "カード明細", "その他"};
const char* const kCompanies[] = {"(株)〇〇商事",       "△△工業(株)",     "有限会社□□",
                                  "(株)ＡＢＣ",         "東京電力",       "(株)サンプル販売",
                                  "合同会社みらい企画", "山田太郎",       "(一社)日本協会",
                                  "ＸＹＺ　Ｃｏ．",     "(株)北海道物産", "個人商店さくら"};
const char* const kRemarks[] = {"", "", "", "3月分", "前払い", "第1.2版", "再発行", "分割2回目"};

std::string Amount(Random& random) {
    std::string digits = std::to_string(1 + random.Below(9999999));
    // Thousands separators in most names, as the filing writes them by default.
    if (random.Below(4) != 0) {
        for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3) {
            digits.insert(static_cast<std::size_t>(i), ",");
        }
    }
    return digits;
}

// storage root / fiscal year / type / month / [date][company][amount]...remark.pdf
void Generate(const fs::path& root) {
    Random random(20240105);
    const int folders = 5 * 12 * 12;
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
                const int count = kFiles * (index + 1) / folders - made;
                for (int i = 0; i < count; ++i) {
                    char date[16];
                    const bool underscores = random.Below(2) == 0;
                    std::snprintf(date, sizeof date,
                                  underscores ? "%04d_%02d_%02d" : "%04d%02d%02d", calendarYear,
                                  month, 1 + random.Below(28));
                    std::string name = std::string("[") + date + "][" +
                                       kCompanies[random.Below(12)] + "][" + Amount(random) + "]";
                    const int extra = random.Below(3);
                    for (int e = 0; e < extra; ++e) {
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
    WorkDir work("index");
    const fs::path root = work.Path() / "書類";
    std::printf("index: generating %d stored files...\n", kFiles);
    std::fflush(stdout);
    Generate(root);
    const std::string tree = root.string();
    const std::string csv = (work.Path() / "索引簿.csv").string();

    const std::vector<std::string> find = {"find", tree, "-type", "f"};
    const std::vector<std::string> exportRun = {FUMIBAKO_CLI, "index", tree, csv};
    // Each run writes a new book, as a run with the default dated file name does. (Rewriting a
    // book of the same name adds the file system's flush of a truncated file on close.)
    const auto exportOnce = [&] {
        fs::remove(csv);
        const Timing t = RunTimed(exportRun);
        if (t.status != 0) {
            std::fprintf(stderr, "index: the export failed with status %d\n", t.status);
            std::exit(1);
        }
        return t;
    };
    // Warm the caches for both before measuring.
    RunTimed(find);
    exportOnce();
    std::vector<double> findTimes, exportTimes;
    long maxRssKb = 0;
    for (int round = 0; round < kRounds; ++round) {
        findTimes.push_back(RunTimed(find).seconds);
        const Timing t = exportOnce();
        exportTimes.push_back(t.seconds);
        maxRssKb = std::max(maxRssKb, t.maxRssKb);
    }
    const double findSeconds = Median(findTimes);
    const double exportSeconds = Median(exportTimes);
    const double ratio = exportSeconds / findSeconds;
    const double memoryMb = static_cast<double>(maxRssKb) / 1024.0;
    const auto csvBytes = fs::file_size(csv);
    const bool met = ratio <= kTargetRatio && memoryMb < kTargetMemoryMb;
    std::printf("index: %d files, book of %.1f MB\n", kFiles, static_cast<double>(csvBytes) / 1e6);
    std::printf("index: find %.3f s, export %.3f s (medians of %d rounds)\n", findSeconds,
                exportSeconds, kRounds);
    std::printf("index: ratio export/find %.2f (target <= %.1f), peak memory %.1f MB (target < "
                "%.0f MB): %s\n",
                ratio, kTargetRatio, memoryMb, kTargetMemoryMb, met ? "met" : "MISSED");
    return met ? 0 : 1;
}
