// Verifies a storage root of 2,000 documents of 256 KB against its ledger with
// `fumibako-cli verify` and compares the time with `sha256sum` of the same files, in the same run:
// whole processes, each started afresh, both reading the files from the cache.

#include "support/BenchSupport.h"

#include <cstdint>
#include <fstream>
#include <iostream>

namespace fs = std::filesystem;

namespace {

constexpr int kFiles = 2000;
constexpr std::size_t kFileBytes = 256 * 1024;
constexpr int kRounds = 7;
constexpr double kTarget = 1.1;

// Distinct bytes for every file, so no two documents share a hash.
void WriteDocument(const fs::path& path, std::uint64_t seed) {
    std::vector<std::uint64_t> words(kFileBytes / sizeof(std::uint64_t));
    std::uint64_t state = 0x9E3779B97F4A7C15u ^ (seed * 0xBF58476D1CE4E5B9u);
    for (auto& word : words) {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        word = state;
    }
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(words.data()),
              static_cast<std::streamsize>(kFileBytes));
    if (!out.flush()) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

} // namespace

int main() {
    try {
        fmb::bench::ScratchDir scratch;
        const fs::path root = scratch.Path() / "書類";
        std::vector<std::string> sha = {"sha256sum"};
        for (int i = 0; i < kFiles; ++i) {
            const fs::path folder = root / "2022年度" / ("種類" + std::to_string(i % 20));
            fs::create_directories(folder);
            const fs::path file = folder / ("[2022_12_31][会社" + std::to_string(i) + "][" +
                                            std::to_string(i) + "].pdf");
            WriteDocument(file, static_cast<std::uint64_t>(i));
            sha.push_back(file.string());
        }
        // The documents as stored before the ledger existed, then recorded.
        fmb::bench::RunChild({FUMIBAKO_CLI, "adopt", root.string()});
        const std::vector<std::string> verify = {FUMIBAKO_CLI, "verify", "--quiet", root.string()};
        std::vector<double> ours;
        std::vector<double> theirs;
        for (int round = 0; round < kRounds; ++round) {
            // Alternate who goes first, so neither always meets a warmer cache.
            if (round % 2 == 0) {
                ours.push_back(fmb::bench::RunChild(verify).seconds);
                theirs.push_back(fmb::bench::RunChild(sha).seconds);
            } else {
                theirs.push_back(fmb::bench::RunChild(sha).seconds);
                ours.push_back(fmb::bench::RunChild(verify).seconds);
            }
        }
        std::printf("verify: %d files of %zu KB, %d rounds, whole processes\n", kFiles,
                    kFileBytes / 1024, kRounds);
        fmb::bench::PrintRatio("  fumibako-cli verify", ours, "sha256sum", theirs, kTarget);
        return 0;
    } catch (const std::exception& error) {
        std::cerr << "ledger_verify_bench: " << error.what() << '\n';
        return 1;
    }
}
