// Times the backup copy of a storage tree of 2,000 files of 256 KB against `cp -a` on the same
// tree.
#include "BenchTools.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace fmb::bench;

namespace {

constexpr int kFiles = 2000;
constexpr std::size_t kFileBytes = 256 * 1024;
constexpr int kRounds = 5;
constexpr double kTargetRatio = 1.15;

// storage root / fiscal year / type / month / file, stored read-only as the filing leaves it.
void Generate(const fs::path& root) {
    Random random(20240105);
    std::string bytes(kFileBytes, '\0');
    const char* const types[] = {"請求書(控)", "請求書", "領収書", "見積書", "契約書"};
    for (int i = 0; i < kFiles; ++i) {
        const int year = 2022 + i % 2;
        const int type = (i / 2) % 5;
        const int month = (i / 10) % 12 + 1;
        const fs::path folder = root / (std::to_string(year) + "年度") / types[type] /
                                (std::to_string(year) + "年" + std::to_string(month) + "月");
        fs::create_directories(folder);
        for (std::size_t b = 0; b < bytes.size(); b += 8) {
            const unsigned long long v = random.Next();
            for (int k = 0; k < 8; ++k) {
                bytes[b + static_cast<std::size_t>(k)] = static_cast<char>(v >> (8 * k));
            }
        }
        const fs::path file = folder / ("[" + std::to_string(year) + "0315][(株)〇〇商事][" +
                                        std::to_string(i) + "].pdf");
        std::ofstream(file, std::ios::binary)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        fs::permissions(file,
                        fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    }
}

} // namespace

int main() {
    WorkDir work("backup");
    const fs::path source = work.Path() / "書類";
    const fs::path destination = work.Path() / "退避";
    std::printf("backup: generating %d files of %zu KB...\n", kFiles, kFileBytes / 1024);
    std::fflush(stdout);
    Generate(source);
    fs::create_directory(destination);
    const fs::path cpCopy = destination / "cp";
    const fs::path ourCopy = destination / "書類(bench)";

    const std::vector<std::string> cp = {"cp", "-a", source.string(), cpCopy.string()};
    const std::vector<std::string> backup = {FUMIBAKO_CLI,         "backup", source.string(),
                                             destination.string(), "--name", "書類(bench)"};
    // Each copy starts from an empty destination with the previous one's writes on disk.
    const auto timed = [&](const std::vector<std::string>& argv, const fs::path& copy) {
        RemoveTree(copy);
        sync();
        const Timing t = RunTimed(argv);
        if (t.status != 0) {
            std::fprintf(stderr, "backup: %s failed with status %d\n", argv[0].c_str(), t.status);
            std::exit(1);
        }
        return t.seconds;
    };
    timed(cp, cpCopy);
    timed(backup, ourCopy);
    std::vector<double> cpTimes, backupTimes;
    for (int round = 0; round < kRounds; ++round) {
        cpTimes.push_back(timed(cp, cpCopy));
        backupTimes.push_back(timed(backup, ourCopy));
    }
    RemoveTree(cpCopy);
    RemoveTree(ourCopy);
    const double cpSeconds = Median(cpTimes);
    const double backupSeconds = Median(backupTimes);
    const double ratio = backupSeconds / cpSeconds;
    const bool met = ratio <= kTargetRatio;
    std::printf("backup: cp -a %.3f s, backup %.3f s (medians of %d rounds)\n", cpSeconds,
                backupSeconds, kRounds);
    std::printf("backup: ratio backup/cp %.2f (target <= %.2f): %s\n", ratio, kTargetRatio,
                met ? "met" : "MISSED");
    return met ? 0 : 1;
}
