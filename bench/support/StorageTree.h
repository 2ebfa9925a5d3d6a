#pragma once

// The storage tree the benchmarks walk: ten fiscal years of 100,000 stored files each, laid out
// as the filing lays them out. Made once and kept under the build folder (making a million files
// takes a while); a tree whose making was cut short is made anew.

#include "support/BenchSupport.h"

#include <cstdio>
#include <filesystem>
#include <string>

#include <fcntl.h>
#include <unistd.h>

namespace fmb::bench {

inline constexpr int kYears = 10;
inline constexpr int kFilesPerYear = 100000;
// Written into the tree once it is complete; a new layout of the tree gets a new mark.
inline constexpr const char* kCompleteMark = ".complete-v1";

inline const char* const kTypes[] = {"請求書(控)", "請求書",   "領収書(控)", "領収書",
                                     "見積書(控)", "見積書",   "注文書",     "納品書",
                                     "契約書",     "給与明細", "カード明細", "その他"};
inline const char* const kCompanies[] = {"(株)〇〇商事",       "△△工業(株)",    "有限会社□□",
                                         "(株)ＡＢＣ",         "東京電力",      "(株)サンプル販売",
                                         "合同会社みらい企画", "(一社)日本協会"};
inline const char* const kRemarks[] = {"",       "",        "",       "3月分",
                                       "前払い", "第1.2版", "再発行", "分割2回目"};
inline constexpr int kTypeCount = sizeof kTypes / sizeof kTypes[0];
inline constexpr int kCompanyCount = sizeof kCompanies / sizeof kCompanies[0];

inline std::string Amount(Random& random) {
    std::string digits = std::to_string(1 + random.Below(9999999));
    // Thousands separators in most names, as the filing writes them by default.
    if (random.Below(4) != 0) {
        for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3) {
            digits.insert(static_cast<std::size_t>(i), ",");
        }
    }
    return digits;
}

inline void CreateEmptyFile(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0444);
    if (fd < 0) {
        throw std::runtime_error("cannot create " + path.string());
    }
    ::close(fd);
}

// storage root / fiscal year / type / company / month / [date][company][amount]...remark.pdf:
// ten years of twelve types, eight companies and twelve months, one to three amounts per name,
// read-only empty files as the filing leaves them.
inline void Generate(const std::filesystem::path& root) {
    namespace fs = std::filesystem;
    Random random(20240105);
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

// The storage root of the tree cached in dataFolder, made first when it is missing or
// incomplete.
inline std::filesystem::path StorageTree(const std::filesystem::path& dataFolder) {
    namespace fs = std::filesystem;
    const fs::path cache = dataFolder / "index-tree";
    const fs::path root = cache / "書類";
    if (fs::exists(cache / kCompleteMark)) {
        return root;
    }
    std::printf("making the storage tree of %d files once, in %s\n", kYears * kFilesPerYear,
                cache.c_str());
    std::fflush(stdout);
    fs::remove_all(cache);
    fs::create_directories(cache);
    Generate(root);
    CreateEmptyFile(cache / kCompleteMark);
    return root;
}

} // namespace fmb::bench
