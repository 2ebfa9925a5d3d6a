#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

// Small helpers shared by the benchmarks: a scratch folder, timing, and running a system tool.
namespace fmb::bench {

// A fresh folder under parent (by default the system's temporary folder, TMPDIR), removed at the
// end.
class ScratchDir {
public:
    explicit ScratchDir(
        const std::filesystem::path& parent = std::filesystem::temp_directory_path()) {
        std::string pattern = (parent / "fumibako-bench-XXXXXX").string();
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

// One run of a program: its wall-clock time and its peak resident memory.
struct ChildRun {
    double seconds = 0;
    double peakMegabytes = 0;
};

// Runs a program directly (no shell in between, so nothing but the program is timed) with its
// standard output discarded; throws when it fails.
inline ChildRun RunChild(const std::vector<std::string>& argv) {
    std::vector<char*> args;
    for (const std::string& arg : argv) {
        args.push_back(const_cast<char*>(arg.c_str()));
    }
    args.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid < 0) {
        throw std::runtime_error("cannot start " + argv.front());
    }
    if (pid == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        execvp(args.front(), args.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    ChildRun run;
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.peakMegabytes = static_cast<double>(usage.ru_maxrss) / 1024.0; // reported in KB
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        throw std::runtime_error("failed: " + argv.front());
    }
    return run;
}

// A small deterministic generator (xorshift64*), so every run builds the same data.
class Random {
public:
    explicit Random(std::uint64_t seed) : m_state(seed) {}
    std::uint64_t Next() {
        m_state ^= m_state >> 12;
        m_state ^= m_state << 25;
        m_state ^= m_state >> 27;
        return m_state * 2685821657736338717ULL;
    }
    int Below(int bound) { return static_cast<int>(Next() % static_cast<std::uint64_t>(bound)); }

private:
    std::uint64_t m_state;
};

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
