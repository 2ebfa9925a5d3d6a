#pragma once

#include <filesystem>
#include <string>
#include <vector>

// Helpers shared by the benchmarks: programs timed side by side as child processes.
namespace fmb::bench {

struct Timing {
    double seconds = 0;
    long maxRssKb = 0; // peak resident memory of the child
    int status = 0;    // exit status (or 128 + signal)
};

// Runs the program with its arguments, stdout to /dev/null, and waits for it.
Timing RunTimed(const std::vector<std::string>& argv);

double Median(std::vector<double> values);

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class WorkDir {
public:
    explicit WorkDir(const std::string& tag);
    ~WorkDir();
    WorkDir(const WorkDir&) = delete;
    WorkDir& operator=(const WorkDir&) = delete;
    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

// Removes a tree that may hold read-only files.
void RemoveTree(const std::filesystem::path& path);

// A small deterministic generator, so every run builds the same tree.
class Random {
public:
    explicit Random(unsigned long long seed) : m_state(seed) {}
    unsigned long long Next();
    int Below(int bound) { return static_cast<int>(Next() % static_cast<unsigned>(bound)); }

private:
    unsigned long long m_state;
};

} // namespace fmb::bench
