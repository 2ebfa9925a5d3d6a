// The ledger with several processes at once and with a process cut short by the file size limit:
// POSIX only, for fork() and setrlimit().
#include "LedgerFixture.h"

#include "ledger/Verification.h"
#include "platform/FolderLock.h"

#include <chrono>
#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fmb::test {
namespace {

// Waits for the child processes; each must have ended with status 0.
void ExpectAllSucceed(const std::vector<pid_t>& children) {
    for (const pid_t child : children) {
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
}

using LedgerProcessTest = LedgerFixture;

TEST_F(LedgerProcessTest, ALedgerThatHitsTheFileSizeLimitKeepsItsBytesAndTheFilingIsUndone) {
    ASSERT_EQ(File(Source("a.pdf", "first"), "A社", "500"), CopyResult::Filed);
    const std::string before = LedgerBytes();
    const std::string source = Source("b.pdf", "second");
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // The small document fits; the ledger line does not.
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{before.size() + 40, before.size() + 40};
        setrlimit(RLIMIT_FSIZE, &limit);
        RecordingReporter reporter;
        ScriptedDuplicates duplicates;
        LedgerFilingRecorder recorder(m_ledger, {"請求書", "20221231", "B社", "1", "", "", "b", ""},
                                      duplicates, reporter);
        const CopyResult result = CopyIntoStorage(source, Root(), Root() + "/2022年度/請求書/",
                                                  "[2022_12_31][B社][1].pdf", reporter, &recorder);
        _exit(result == CopyResult::NotRecorded ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(LedgerBytes(), before);
    EXPECT_FALSE(std::filesystem::exists(U8(StoredPath("[2022_12_31][B社][1].pdf"))));
    EXPECT_TRUE(VerifyStorage(Root()).Ok());
}

TEST_F(LedgerProcessTest, TwoProcessesFilingAtOnceLoseNoRecordAndKeepTheChain) {
    constexpr int kEach = 25;
    std::vector<pid_t> children;
    for (const std::string who : {"P", "Q"}) {
        std::vector<std::string> sources;
        for (int i = 0; i < kEach; ++i) {
            sources.push_back(
                Source(who + std::to_string(i), who + " content " + std::to_string(i)));
        }
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            int failures = 0;
            for (int i = 0; i < kEach; ++i) {
                failures += File(sources[i], who, std::to_string(i)) != CopyResult::Filed;
            }
            _exit(failures == 0 ? 0 : 1);
        }
        children.push_back(child);
    }
    ExpectAllSucceed(children);
    const LedgerContents contents = m_ledger.Read();
    EXPECT_EQ(contents.records.size(), 2u * kEach);
    EXPECT_TRUE(contents.brokenLines.empty());
    EXPECT_TRUE(VerifyStorage(Root()).Ok());
    EXPECT_FALSE(std::filesystem::exists(m_ledger.FolderPath() / U8("ふみばこ台帳.lock")));
}

// Appends as fast as they go, from several processes: each must follow the line before it.
TEST_F(LedgerProcessTest, ProcessesAppendingAsFastAsTheyCanNeverShareAPreviousLine) {
    constexpr int kProcesses = 4;
    constexpr int kEach = 60;
    std::vector<pid_t> children;
    for (int p = 0; p < kProcesses; ++p) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            int failures = 0;
            for (int i = 0; i < kEach; ++i) {
                LedgerRecord record;
                record.operation = "既存登録";
                record.path = "2022年度/" + std::to_string(p) + "/" + std::to_string(i) + ".pdf";
                record.sha256 = std::string(64, 'a');
                failures += m_ledger.Append(record) ? 1 : 0;
            }
            _exit(failures == 0 ? 0 : 1);
        }
        children.push_back(child);
    }
    ExpectAllSucceed(children);
    const LedgerContents contents = m_ledger.Read();
    EXPECT_EQ(contents.records.size(), std::size_t{kProcesses * kEach});
    EXPECT_TRUE(contents.brokenLines.empty());
}

// A filing waits while another computer holds the lock, and records once it is given up.
TEST_F(LedgerProcessTest, AFilingWaitsForTheLockHeldElsewhere) {
    std::filesystem::create_directory(m_ledger.FolderPath());
    std::error_code error;
    auto held = FolderLock::Acquire(m_ledger.FolderPath() / U8("ふみばこ台帳.lock"),
                                    std::chrono::milliseconds(0), error);
    ASSERT_TRUE(held) << error.message();
    const std::string source = Source("a.pdf", "doc");
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        _exit(File(source, "A社", "500") == CopyResult::Filed ? 0 : 1);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_TRUE(Records().empty()) << "recorded while the lock was held";
    held.reset();
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(Records().size(), 1u);
}

TEST_F(LedgerProcessTest, ALockLeftByAProcessThatIsGoneIsTakenOver) {
    std::filesystem::create_directory(m_ledger.FolderPath());
    const pid_t gone = fork();
    if (gone == 0) {
        _exit(0);
    }
    waitpid(gone, nullptr, 0);
    WriteBytes(m_ledger.FolderPath() / U8("ふみばこ台帳.lock"),
               ComputerName() + "\n" + std::to_string(gone) + "\n");
    EXPECT_EQ(File(Source("a.pdf", "doc"), "A社", "500"), CopyResult::Filed);
    EXPECT_EQ(Records().size(), 1u);
}

} // namespace
} // namespace fmb::test
