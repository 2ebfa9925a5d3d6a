// Files a 200 MB document with `fumibako-cli file` (copy, SHA-256 and the ledger record) and
// compares the time with `cp -a` copying the same file followed by `sha256sum` of the copy, in the
// same run: whole processes, each started afresh (both keep the modification time; cp -a also
// keeps the mode).

#include "settings/CFMBData.h"
#include "support/BenchSupport.h"

#include <cstdint>
#include <fstream>
#include <iostream>

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kSourceBytes = 200u * 1024 * 1024;
constexpr int kRounds = 7;
constexpr double kTarget = 1.1;

// Bytes that no file system can compress or deduplicate away.
void WriteSource(const fs::path& path) {
    std::ofstream out(path, std::ios::binary);
    std::vector<std::uint64_t> block(1 << 17);
    std::uint64_t state = 0x9E3779B97F4A7C15u;
    for (std::size_t written = 0; written < kSourceBytes;) {
        for (auto& word : block) {
            state ^= state << 13;
            state ^= state >> 7;
            state ^= state << 17;
            word = state;
        }
        const std::size_t bytes =
            std::min(block.size() * sizeof(std::uint64_t), kSourceBytes - written);
        out.write(reinterpret_cast<const char*>(block.data()), static_cast<std::streamsize>(bytes));
        written += bytes;
    }
    if (!out.flush()) {
        throw std::runtime_error("cannot write the source file");
    }
}

// The settings of a storage root, written where the command line reads them.
void WriteSettings(const fs::path& settingsFolder, const fs::path& root) {
    fmb::CFMBData settings(settingsFolder.string() + "/");
    settings.COPY_SAKI_DIR = root.string();
    if (settings.WriteIni() != fmb::SaveResult::Saved) {
        throw std::runtime_error("cannot write the settings");
    }
}

// Removes every file below folder, keeping the folders, so each round files into the same place.
void RemoveFiles(const fs::path& folder) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file()) {
            files.push_back(entry.path());
        }
    }
    for (const fs::path& file : files) {
        fs::remove(file);
    }
}

} // namespace

int main() {
    try {
        fmb::bench::ScratchDir scratch;
        const fs::path source = scratch.Path() / "scan.pdf";
        WriteSource(source);
        const fs::path root = scratch.Path() / "書類";
        fs::create_directories(root);
        const fs::path settings = scratch.Path() / "settings";
        fs::create_directories(settings);
        WriteSettings(settings, root);
        const fs::path cpFolder = scratch.Path() / "cp";
        fs::create_directories(cpFolder);

        std::vector<double> ours;
        std::vector<double> cps;
        for (int round = 0; round < kRounds; ++round) {
            const std::vector<std::string> file = {
                FUMIBAKO_CLI,   "file",         "--settings-dir", settings.string(),
                "--type",       "請求書(控)",   "--date",         "20221231",
                "--company",    "〇〇商事(株)", "--amount",       std::to_string(500000 + round),
                source.string()};
            const std::string copied = (cpFolder / "copy.pdf").string();
            const std::vector<std::string> cp = {"cp", "-a", source.string(), copied};
            const std::vector<std::string> sha = {"sha256sum", copied};
            // Each copy starts into an empty place, with the previous copy's writes on disk.
            const auto copyOnce = [&sha](const std::vector<std::string>& argv) {
                sync();
                const double seconds = fmb::bench::RunChild(argv).seconds;
                // The yardstick hashes its copy right after making it; the filing hashes while
                // it copies.
                return argv.front() == "cp" ? seconds + fmb::bench::RunChild(sha).seconds : seconds;
            };
            // Alternate who goes first, so neither always meets a warmer cache.
            if (round % 2 == 0) {
                ours.push_back(copyOnce(file));
                cps.push_back(copyOnce(cp));
            } else {
                cps.push_back(copyOnce(cp));
                ours.push_back(copyOnce(file));
            }
            // Keep the disk use at one copy of each.
            RemoveFiles(root);
            RemoveFiles(cpFolder);
        }
        std::printf("filing: a %zu MB file, %d rounds, whole processes\n",
                    kSourceBytes / (1024 * 1024), kRounds);
        fmb::bench::PrintRatio("  fumibako-cli file", ours, "cp -a + sha256sum", cps, kTarget);
        return 0;
    } catch (const std::exception& error) {
        std::cerr << "filing_copy_bench: " << error.what() << '\n';
        return 1;
    }
}
