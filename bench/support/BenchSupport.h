#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

// Small helpers shared by the benchmarks: a scratch folder, timing, and running a system tool.
namespace fmb::bench {

// A fresh folder under the system's temporary folder (TMPDIR), removed at the end.
class ScratchDir {
public:
    ScratchDir() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "fumibako-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("cannot create a scratch folder");
        }
        m_path = pattern;
    }
    ~ScratchDir() {
        std::error_code error;
        // Filed copies are read-only; the folder is removed all the same.
        std::filesystem::remove_all(m_path, error);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

// Seconds the call takes.
template <typename Call> double Seconds(Call call) {
    const auto start = std::chrono::steady_clock::now();
    call();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

inline double Best(const std::vector<double>& values) {
    return *std::min_element(values.begin(), values.end());
}

// A path as one word for the shell.
inline std::string ShellQuoted(const std::filesystem::path& path) {
    std::string quoted = "'";
    for (char c : path.string()) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

// Runs a shell command; throws when it fails, so no broken run is ever timed as a result.
inline void RunTool(const std::string& command) {
    if (std::system(command.c_str()) != 0) {
        throw std::runtime_error("failed: " + command);
    }
}

// Prints one comparison line: ours against the system's tool, best and median of the rounds.
inline void PrintRatio(const char* what, const std::vector<double>& ours, const char* tool,
                       const std::vector<double>& theirs, double target) {
    const double bestRatio = Best(ours) / Best(theirs);
    const double medianRatio = Median(ours) / Median(theirs);
    std::printf("%s: best %.1f ms, median %.1f ms; %s: best %.1f ms, median %.1f ms\n", what,
                Best(ours) * 1000, Median(ours) * 1000, tool, Best(theirs) * 1000,
                Median(theirs) * 1000);
    std::printf("  ratio to %s: best %.2f, median %.2f (target <= %.2f)%s\n", tool, bestRatio,
                medianRatio, target, medianRatio <= target ? "" : "  ABOVE TARGET");
}

} // namespace fmb::bench
