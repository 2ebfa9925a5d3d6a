#include "platform/IniFile.h"
#include "platform/TemporaryFile.h"
#include "platform/TemporaryName.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

// A save killed half-way: needs a child process the kernel kills for writing past its file-size
// limit.
namespace fmb {
namespace {

using test::ReadBytes;
using test::WriteBytes;

class IniFileCrashTest : public ::testing::Test {
protected:
    test::TempDir m_dir;
    std::filesystem::path m_file = m_dir.Path() / "profile.ini";
};

std::vector<std::string> NamesIn(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST_F(IniFileCrashTest, ASaveKilledHalfWayLeavesTheFileAndItsTemporaryGoesAtALaterSave) {
    WriteBytes(m_file, "[S]\r\nA=old\r\n");
    // A child process saves a value larger than the size it may write: the kernel kills it
    // (SIGXFSZ) in the middle of writing the temporary file.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const rlimit limit{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        IniFile ini(m_file);
        ini.Set("S", "A", std::string(1000, 'x'));
        for (int i = 0; i < 100; ++i) {
            ini.Set("S", "K" + std::to_string(i), std::string(1000, 'y'));
        }
        ini.Save();
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), SIGXFSZ);
    EXPECT_EQ(ReadBytes(m_file), "[S]\r\nA=old\r\n");
    std::vector<std::string> names = NamesIn(m_dir.Path());
    ASSERT_EQ(names.size(), 2u);
    const std::string leftover = names[0];
    EXPECT_TRUE(IsTemporaryName(leftover)) << leftover;

    // Other files, and a temporary that may belong to a save still running, are kept.
    const auto ago = [](std::chrono::hours age) {
        return std::filesystem::file_time_type::clock::now() - age;
    };
    const auto stale = kStaleTemporaryAge + std::chrono::hours(1);
    std::filesystem::last_write_time(m_dir.Path() / leftover, ago(stale));
    const std::string fresh = std::string(kTemporaryPrefix) + "freshlyadded";
    for (const std::string& kept : {fresh, std::string(".profile.ini.AbC123"),
                                    std::string(kTemporaryPrefix) + "old", std::string("x.ini")}) {
        WriteBytes(m_dir.Path() / kept, "x");
        if (kept != fresh) {
            std::filesystem::last_write_time(m_dir.Path() / kept, ago(stale));
        }
    }
    IniFile ini(m_file);
    ASSERT_TRUE(ini.Set("S", "A", "new"));
    ASSERT_TRUE(ini.Save());
    EXPECT_EQ(ReadBytes(m_file), "[S]\r\nA=new\r\n");
    EXPECT_EQ(NamesIn(m_dir.Path()),
              (std::vector<std::string>{fresh, std::string(kTemporaryPrefix) + "old",
                                        ".profile.ini.AbC123", "profile.ini", "x.ini"}));
}

} // namespace
} // namespace fmb
