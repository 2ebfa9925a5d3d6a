// The real fumibako-cli, run as a process and interrupted in the middle of a backup, as a user's
// Ctrl+C or the system's TERM would.
#include "platform/PathText.h"
#include "support/TempDir.h"
#include "support/WholeCopies.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace fmb::cli {
namespace {

using test::TempDir;
using test::U8;

// "30,000" as "30000".
std::string WithoutSeparators(std::string count) {
    std::erase(count, ',');
    return count;
}

struct Finished {
    int status = -1;
    std::string err;
};

// Runs the program with args, its standard error on a pipe; once that shows the copy under way
// (a progress line past the count), sends the signal. Returns how the program ended and all it
// wrote on standard error.
Finished RunAndInterrupt(const std::vector<std::string>& args, int signal) {
    int pipeEnds[2];
    EXPECT_EQ(::pipe(pipeEnds), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(pipeEnds[1], STDERR_FILENO);
        ::close(pipeEnds[0]);
        ::close(pipeEnds[1]);
        const int devNull = ::open("/dev/null", O_WRONLY);
        ::dup2(devNull, STDOUT_FILENO);
        std::vector<char*> argv{const_cast<char*>(FUMIBAKO_CLI_BINARY)};
        for (const std::string& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(pipeEnds[1]);
    Finished finished;
    bool sent = false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    for (;;) {
        pollfd readable{pipeEnds[0], POLLIN, 0};
        ::poll(&readable, 1, 100);
        char buffer[4096];
        const ssize_t got = ::read(pipeEnds[0], buffer, sizeof buffer);
        if (got <= 0)
            break;
        finished.err.append(buffer, static_cast<std::size_t>(got));
        // A copy line: "12 / 30,000 ファイル　12 KB / 29 MB", no longer counting.
        const std::size_t line = finished.err.rfind("\r\033[K");
        const std::string last = line == std::string::npos ? "" : finished.err.substr(line);
        if (!sent && last.find(" ファイル") != std::string::npos &&
            last.find("数えています") == std::string::npos) {
            ::kill(child, signal);
            sent = true;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            ADD_FAILURE() << "the program did not end";
            ::kill(child, SIGKILL);
        }
    }
    ::close(pipeEnds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(sent) << "the copy ended before it could be interrupted:\n" << finished.err;
    finished.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return finished;
}

TEST(InterruptTest, ABackupStoppedBySigintOrSigtermKeepsOnlyWholeFilesAndEndsWith130) {
    TempDir dir;
    const std::string source = dir.Child("書類");
    // Many small files: the copy's time goes to per-file work (create, copy, time, mark,
    // publish) rather than to data the page cache may swallow at once, so it lasts well beyond
    // the first progress line on any disk.
    constexpr int kFiles = 30000;
    constexpr int kFolders = 30;
    for (int folder = 0; folder < kFolders; ++folder)
        fs::create_directories(U8(source + "/2024年度/" + std::to_string(folder)));
    for (int i = 0; i < kFiles; ++i) {
        test::WriteBytes(U8(source + "/2024年度/" + std::to_string(i % kFolders) + "/" +
                            std::to_string(i) + ".pdf"),
                         std::string(1024, static_cast<char>(i)));
    }
    fs::create_directories(U8(dir.Child("退避")));
    for (const int signal : {SIGINT, SIGTERM}) {
        SCOPED_TRACE(signal);
        const std::string name = "bak" + std::to_string(signal);
        const Finished run = RunAndInterrupt(
            {"backup", "--progress", "--name", name, source, dir.Child("退避")}, signal);
        EXPECT_EQ(run.status, 130) << run.err;
        const std::string backup = dir.Child("退避") + kPathSeparator + name;
        const std::size_t copied = test::WholeCopies(backup, source).size();
        EXPECT_LT(copied, static_cast<std::size_t>(kFiles));
        // The progress line cleared, then what was done.
        const std::size_t cleared = run.err.rfind("\r\033[K");
        ASSERT_NE(cleared, std::string::npos) << run.err;
        const std::string said = run.err.substr(cleared + 4);
        ASSERT_TRUE(said.ends_with('\n')) << said;
        const auto counts = test::StoppedCopyCounts(said.substr(0, said.size() - 1));
        ASSERT_TRUE(counts) << said;
        EXPECT_EQ(WithoutSeparators(counts->copied), std::to_string(copied));
        EXPECT_EQ(WithoutSeparators(counts->total), std::to_string(kFiles));
    }
}

} // namespace
} // namespace fmb::cli
