// Files a 200 MB document through CopyIntoStorage and compares the time with `cp -a` copying the
// same file in the same run (both keep the modification time; cp -a also keeps the mode).

#include "filing/CopyIntoStorage.h"
#include "platform/PathText.h"
#include "support/BenchSupport.h"

#include <cstdint>
#include <fstream>
#include <iostream>

namespace {

constexpr std::size_t kSourceBytes = 200u * 1024 * 1024;
constexpr int kRounds = 7;
constexpr double kTarget = 1.2;

class SilentReporter final : public fmb::Reporter {
public:
    void Notify(const std::string& message) override {
        throw std::runtime_error("CopyIntoStorage refused: " + message);
    }
};

// Bytes that no file system can compress or deduplicate away.
void WriteSource(const std::filesystem::path& path) {
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

} // namespace

int main() {
    try {
        fmb::bench::ScratchDir scratch;
        const std::filesystem::path source = scratch.Path() / "scan.pdf";
        WriteSource(source);
        const std::filesystem::path root = scratch.Path() / "書類";
        std::filesystem::create_directories(root);
        const std::filesystem::path cpFolder = scratch.Path() / "cp";
        std::filesystem::create_directories(cpFolder);

        SilentReporter reporter;
        std::vector<double> ours;
        std::vector<double> cp;
        for (int round = 0; round < kRounds; ++round) {
            const std::string folder = fmb::FromFsPath(root) + "/2022年度/請求書(控)/2022年12月/";
            const std::string name =
                "[2022_12_31][〇〇商事(株)][" + std::to_string(round) + "].pdf";
            const auto file = [&] {
                if (fmb::CopyIntoStorage(fmb::FromFsPath(source), fmb::FromFsPath(root), folder,
                                         name, reporter) != 0) {
                    throw std::runtime_error("CopyIntoStorage failed");
                }
            };
            const std::filesystem::path cpCopy = cpFolder / ("copy" + std::to_string(round));
            const std::string cpCommand =
                "cp -a " + fmb::bench::ShellQuoted(source) + " " + fmb::bench::ShellQuoted(cpCopy);
            // Alternate who goes first, so neither always meets a warmer cache.
            if (round % 2 == 0) {
                ours.push_back(fmb::bench::Seconds(file));
                cp.push_back(fmb::bench::Seconds([&] { fmb::bench::RunTool(cpCommand); }));
            } else {
                cp.push_back(fmb::bench::Seconds([&] { fmb::bench::RunTool(cpCommand); }));
                ours.push_back(fmb::bench::Seconds(file));
            }
            // Keep the disk use at one copy of each.
            std::filesystem::remove(fmb::ToFsPath(folder + name));
            std::filesystem::remove(cpCopy);
        }
        std::printf("filing: CopyIntoStorage of a %zu MB file, %d rounds\n",
                    kSourceBytes / (1024 * 1024), kRounds);
        fmb::bench::PrintRatio("  CopyIntoStorage", ours, "cp -a", cp, kTarget);
        return 0;
    } catch (const std::exception& error) {
        std::cerr << "filing_copy_bench: " << error.what() << '\n';
        return 1;
    }
}
