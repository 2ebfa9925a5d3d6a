// Copies a storage tree of 2,000 files of 256 KB with `fumibako-cli backup` and compares the time
// with `cp -a` copying the same tree in the same run (both keep the modification times and the
// read-only marks).

#include "support/BenchSupport.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

namespace fs = std::filesystem;

namespace {

constexpr int kFiles = 2000;
constexpr std::size_t kFileBytes = 256 * 1024;
constexpr int kRounds = 5;
constexpr double kTarget = 1.15;

// storage root / fiscal year / type / month / file, each file of bytes no file system can
// compress away, stored read-only as the filing leaves it.
void Generate(const fs::path& root) {
    fmb::bench::Random random(20240105);
    std::vector<std::uint64_t> words(kFileBytes / sizeof(std::uint64_t));
    const char* const types[] = {"請求書(控)", "請求書", "領収書", "見積書", "契約書"};
    for (int i = 0; i < kFiles; ++i) {
        const int year = 2022 + i % 2;
        const int month = (i / 10) % 12 + 1;
        const fs::path folder = root / (std::to_string(year) + "年度") / types[(i / 2) % 5] /
                                (std::to_string(year) + "年" + std::to_string(month) + "月");
        fs::create_directories(folder);
        for (auto& word : words) {
            word = random.Next();
        }
        const fs::path file = folder / ("[" + std::to_string(year) + "0315][(株)〇〇商事][" +
                                        std::to_string(i) + "].pdf");
        std::ofstream out(file, std::ios::binary);
        out.write(reinterpret_cast<const char*>(words.data()),
                  static_cast<std::streamsize>(kFileBytes));
        if (!out.flush()) {
            throw std::runtime_error("cannot write the tree");
        }
        fs::permissions(file,
                        fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    }
}

} // namespace

int main() {
    try {
        fmb::bench::ScratchDir scratch;
        const fs::path source = scratch.Path() / "書類";
        Generate(source);
        const fs::path destination = scratch.Path() / "退避";
        fs::create_directory(destination);
        const fs::path cpCopy = destination / "cp";
        const fs::path ourCopy = destination / "書類(bench)";
        const std::vector<std::string> cp = {"cp", "-a", source.string(), cpCopy.string()};
        const std::vector<std::string> backup = {
            FUMIBAKO_CLI, "backup", "--name", "書類(bench)", source.string(), destination.string()};
        // Each copy starts into an empty destination, with the previous copy's writes on disk.
        const auto copyOnce = [](const std::vector<std::string>& argv, const fs::path& copy) {
            fs::remove_all(copy);
            sync();
            return fmb::bench::RunChild(argv).seconds;
        };
        std::vector<double> ours;
        std::vector<double> cps;
        for (int round = 0; round < kRounds; ++round) {
            // Alternate who goes first, so neither always meets a warmer cache.
            if (round % 2 == 0) {
                ours.push_back(copyOnce(backup, ourCopy));
                cps.push_back(copyOnce(cp, cpCopy));
            } else {
                cps.push_back(copyOnce(cp, cpCopy));
                ours.push_back(copyOnce(backup, ourCopy));
            }
        }
        fs::remove_all(cpCopy);
        fs::remove_all(ourCopy);
        std::printf("backup: copy of %d files of %zu KB, %d rounds\n", kFiles, kFileBytes / 1024,
                    kRounds);
        fmb::bench::PrintRatio("  fumibako-cli backup", ours, "cp -a", cps, kTarget);
        return 0;
    } catch (const std::exception& error) {
        std::cerr << "backup_copy_bench: " << error.what() << '\n';
        return 1;
    }
}
