// Reads a hand-damaged FMB_Setting.ini of 10 MB and of 40 MB made of line breaks (its keys after
// them) with `fumibako-cli compose`, which reads the settings before it composes, and compares
// with `wc -l` reading the same file in the same run. Reading must take time in proportion to the
// file's size and memory of at most a few times its size.

#include "support/BenchSupport.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

namespace fs = std::filesystem;

namespace {

constexpr int kRounds = 5;
constexpr double kMemoryTarget = 3.0;    // memory beyond a small file's, per byte of the file
constexpr double kLinearityTarget = 1.5; // time per megabyte at 40 MB over that at 10 MB

// The section header, the given number of line breaks, then the keys.
void WriteSettings(const fs::path& folder, std::size_t lineBreaks) {
    fs::create_directories(folder);
    std::ofstream file(folder / "FMB_Setting.ini", std::ios::binary);
    file << "[SETTING]\r\n";
    std::string pairs;
    for (int i = 0; i < 1 << 19; ++i) {
        pairs += "\r\n";
    }
    for (std::size_t written = 0; written < lineBreaks;) {
        const std::size_t count = std::min(lineBreaks - written, pairs.size() / 2);
        file.write(pairs.data(), static_cast<std::streamsize>(count * 2));
        written += count;
    }
    file << "COPY_SAKI_DIR=/data\r\nNEND_END_M=6\r\nKINGAKU_KANMA_FLG=1\r\n";
}

struct Measured {
    double seconds = 0; // best of the rounds
    double peakMegabytes = 0;
    double wcSeconds = 0;
};

Measured Measure(const fs::path& folder) {
    const std::vector<std::string> compose = {FUMIBAKO_CLI,    "compose", "--settings-dir",
                                              folder.string(), "--date",  "20240105"};
    const std::vector<std::string> wc = {"wc", "-l", (folder / "FMB_Setting.ini").string()};
    fmb::bench::RunChild(compose);
    fmb::bench::RunChild(wc);
    Measured measured;
    std::vector<double> ours;
    std::vector<double> theirs;
    for (int round = 0; round < kRounds; ++round) {
        const fmb::bench::ChildRun run = fmb::bench::RunChild(compose);
        ours.push_back(run.seconds);
        measured.peakMegabytes = std::max(measured.peakMegabytes, run.peakMegabytes);
        theirs.push_back(fmb::bench::RunChild(wc).seconds);
    }
    measured.seconds = fmb::bench::Best(ours);
    measured.wcSeconds = fmb::bench::Best(theirs);
    return measured;
}

} // namespace

int main() {
    try {
        fmb::bench::ScratchDir scratch;
        const struct {
            const char* name;
            std::size_t lineBreaks;
        } sizes[] = {{"small", 0}, {"10 MB", 5'000'000}, {"40 MB", 20'000'000}};
        Measured measured[3];
        double megabytes[3];
        for (int i = 0; i < 3; ++i) {
            const fs::path folder = scratch.Path() / std::to_string(i);
            WriteSettings(folder, sizes[i].lineBreaks);
            megabytes[i] = static_cast<double>(fs::file_size(folder / "FMB_Setting.ini")) / 1e6;
            measured[i] = Measure(folder);
            fs::remove_all(folder);
        }
        std::printf("settings: FMB_Setting.ini of line breaks read by fumibako-cli compose, best "
                    "of %d rounds\n",
                    kRounds);
        for (int i = 0; i < 3; ++i) {
            std::printf("  %s (%.1f MB): %.1f ms, wc -l %.1f ms; peak memory %.1f MB",
                        sizes[i].name, megabytes[i], measured[i].seconds * 1000,
                        measured[i].wcSeconds * 1000, measured[i].peakMegabytes);
            if (i > 0) {
                const double perByte = (measured[i].peakMegabytes - measured[0].peakMegabytes) /
                                       (megabytes[i] - megabytes[0]);
                std::printf(", %.2f x the file beyond a small file's (target <= %.1f)%s", perByte,
                            kMemoryTarget, perByte <= kMemoryTarget ? "" : "  ABOVE TARGET");
            }
            std::printf("\n");
        }
        const auto perMegabyte = [&](int i) {
            return (measured[i].seconds - measured[0].seconds) / (megabytes[i] - megabytes[0]);
        };
        const double linearity = perMegabyte(2) / perMegabyte(1);
        std::printf("  time per MB at 40 MB over that at 10 MB: %.2f (target <= %.1f)%s\n",
                    linearity, kLinearityTarget,
                    linearity <= kLinearityTarget ? "" : "  ABOVE TARGET");
        return 0;
    } catch (const std::exception& error) {
        std::cerr << "settings_read_bench: " << error.what() << '\n';
        return 1;
    }
}
