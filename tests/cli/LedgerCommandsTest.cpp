// The ledger commands of the real program, run as a script runs them.
#include "ledger/Ledger.h"
#include "platform/Cp932.h"
#include "platform/PathText.h"
#include "support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

namespace fmb {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::U8;
using test::WriteBytes;
using ::testing::HasSubstr;

struct ProgramRun {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs fumibako-cli with the arguments, its output and errors into files of the folder.
ProgramRun Program(const test::TempDir& folder, const std::vector<std::string>& args) {
    const fs::path outFile = folder.Path() / "stdout";
    const fs::path errFile = folder.Path() / "stderr";
    const pid_t child = fork();
    if (child == 0) {
        const int out = ::open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(out, 1);
        ::dup2(err, 2);
        std::vector<char*> argv = {const_cast<char*>(FUMIBAKO_CLI_BINARY)};
        for (const std::string& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        ::execv(FUMIBAKO_CLI_BINARY, argv.data());
        _exit(127);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadBytes(outFile), ReadBytes(errFile)};
}

class LedgerCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(U8(Root()));
        const cp932::Encoded settings =
            cp932::Encode("[SETTING]\r\nCOPY_SAKI_DIR=" + Root() +
                          "\r\nNEND_END_M=3\r\nKINGAKU_KANMA_FLG=1\r\nHIDUKE_UB_FLG=1\r\nSYORI_"
                          "TANTOUSYA=山田\r\n");
        WriteBytes(m_settings.Path() / "FMB_Setting.ini", settings.bytes);
    }
    std::string Root() const { return m_dir.Child("書類"); }
    std::string Source(const std::string& name, const std::string& bytes) const {
        WriteBytes(U8(m_dir.Child(name)), bytes);
        return m_dir.Child(name);
    }
    std::string Stored(const std::string& name) const {
        return Root() + "/2022年度/請求書/" + name;
    }
    ProgramRun File(const std::string& source, const std::string& amount,
                    std::vector<std::string> more = {}) {
        std::vector<std::string> args = {"file",          "--settings-dir=" + m_settings.Text(),
                                         "--type=請求書", "--date=20221231",
                                         "--company=A社", "--amount=" + amount};
        args.insert(args.end(), more.begin(), more.end());
        args.push_back(source);
        return Program(m_dir, args);
    }
    std::vector<LedgerRecord> Records() const { return Ledger(Root()).Read().records; }

    test::TempDir m_dir;
    test::TempDir m_settings;
};

TEST_F(LedgerCommandsTest, FilingRecordsThePersonOfTheSettingsOrOfBy) {
    EXPECT_EQ(File(Source("a.pdf", "one"), "500").status, 0);
    const ProgramRun second = File(Source("b.pdf", "two"), "600", {"--by=鈴木"});
    EXPECT_EQ(second.status, 0) << second.err;
    const auto records = Records();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].person, "山田");
    EXPECT_EQ(records[1].person, "鈴木");
    EXPECT_EQ(records[1].path, "2022年度/請求書/[2022_12_31][A社][600].pdf");
}

TEST_F(LedgerCommandsTest, TheSameContentIsRefusedUnlessAllowedAndTheSameFieldsOnlyWarn) {
    ASSERT_EQ(File(Source("a.pdf", "invoice"), "500").status, 0);
    const std::string again = Source("again.pdf", "invoice");
    const ProgramRun refused = File(again, "500", {"--remark=2"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(refused.err,
              "同じ内容の書類がすでに保存されています: " + Stored("[2022_12_31][A社][500].pdf") +
                  "\n二重に保存するときは --allow-duplicate を付けてください。\n");
    EXPECT_FALSE(fs::exists(U8(Stored("[2022_12_31][A社][500]2.pdf"))));

    const ProgramRun allowed = File(again, "500", {"--remark=2", "--allow-duplicate"});
    EXPECT_EQ(allowed.status, 0) << allowed.err;
    EXPECT_THAT(Records().back().note, HasSubstr("同じ内容"));

    const ProgramRun alike = File(Source("c.pdf", "other"), "500", {"--remark=3"});
    EXPECT_EQ(alike.status, 0);
    EXPECT_THAT(alike.err, HasSubstr("注意: 日付・会社名・金額が同じ書類"));
    EXPECT_TRUE(fs::exists(U8(Stored("[2022_12_31][A社][500]3.pdf"))));
}

TEST_F(LedgerCommandsTest, CorrectDeleteVerifyAndLogWorkTogether) {
    ASSERT_EQ(File(Source("a.pdf", "first"), "500").status, 0);
    ASSERT_EQ(File(Source("b.pdf", "second"), "700").status, 0);
    const std::string settings = "--settings-dir=" + m_settings.Text();

    // Without a reason nothing changes.
    const ProgramRun noReason =
        Program(m_dir, {"correct", settings, Stored("[2022_12_31][A社][500].pdf"), "--amount=600"});
    EXPECT_EQ(noReason.status, 1);
    EXPECT_THAT(noReason.err, HasSubstr("理由を入力"));

    const ProgramRun corrected =
        Program(m_dir, {"correct", settings, Stored("[2022_12_31][A社][500].pdf"), "--amount=600",
                        "--reason=金額誤り", "--by=鈴木"});
    EXPECT_EQ(corrected.status, 0) << corrected.err;
    EXPECT_EQ(corrected.out, "訂正しました。\n");
    EXPECT_EQ(ReadBytes(U8(Stored("[2022_12_31][A社][600].pdf"))), "first");

    const ProgramRun deleted =
        Program(m_dir, {"delete", settings, Stored("[2022_12_31][A社][700].pdf"), "--reason=二重"});
    EXPECT_EQ(deleted.status, 0) << deleted.err;
    EXPECT_FALSE(fs::exists(U8(Stored("[2022_12_31][A社][700].pdf"))));
    EXPECT_EQ(Records().back().person, "山田");

    const ProgramRun verified = Program(m_dir, {"verify", "--quiet", Root()});
    EXPECT_EQ(verified.status, 0) << verified.out;
    EXPECT_THAT(verified.out,
                HasSubstr("記録: 4 件、確認できた書類: 1 件、訂正・削除前の書類: 2 件"));

    const std::string csv = m_dir.Child("訂正削除記録.csv");
    const ProgramRun log = Program(m_dir, {"log", Root(), "--csv", csv});
    EXPECT_EQ(log.status, 0) << log.err;
    const cp932::Decoded text = cp932::Decode(ReadBytes(U8(csv)));
    EXPECT_THAT(text.utf8, HasSubstr(",訂正,2022年度/請求書/[2022_12_31][A社][600].pdf,"));
    EXPECT_THAT(text.utf8, HasSubstr(",削除,,2022年度/請求書/[2022_12_31][A社][700].pdf,"));
    EXPECT_THAT(text.utf8, HasSubstr(",鈴木,金額誤り,"));
}

TEST_F(LedgerCommandsTest, VerifyNamesEveryProblemAndAdoptRecordsUnrecordedFiles) {
    ASSERT_EQ(File(Source("a.pdf", "first"), "500").status, 0);
    ASSERT_EQ(File(Source("b.pdf", "second"), "700").status, 0);
    const fs::path altered = U8(Stored("[2022_12_31][A社][500].pdf"));
    fs::permissions(altered, fs::perms::owner_write, fs::perm_options::add);
    WriteBytes(altered, "forged");
    fs::remove(U8(Stored("[2022_12_31][A社][700].pdf")));
    WriteBytes(U8(Stored("by-hand.pdf")), "copied in");

    const ProgramRun found = Program(m_dir, {"verify", "--quiet", Root()});
    EXPECT_EQ(found.status, 1);
    EXPECT_EQ(found.out,
              "書類が変更されています（改ざん）: " + Stored("[2022_12_31][A社][500].pdf") +
                  "\n書類がありません: " + Stored("[2022_12_31][A社][700].pdf") +
                  "\n台帳に記録のない書類: " + Stored("by-hand.pdf") +
                  "\n記録: 2 件、確認できた書類: 0 件、訂正・削除前の書類: 0 件\n問題: 3 件\n");

    const ProgramRun adopted = Program(m_dir, {"adopt", "--by=鈴木", Root()});
    EXPECT_EQ(adopted.status, 0) << adopted.err;
    EXPECT_THAT(adopted.out, HasSubstr(Stored("by-hand.pdf")));
    EXPECT_THAT(adopted.out, HasSubstr("1 件を既存登録しました。"));
    EXPECT_EQ(Records().back().operation, "既存登録");
    EXPECT_EQ(Program(m_dir, {"verify", "--quiet", Root()}).status, 1); // the other two remain
}

TEST_F(LedgerCommandsTest, AFilingWhoseLedgerCannotBeWrittenFailsAndStoresNothing) {
    WriteBytes(U8(Root() + "/ふみばこ台帳"), "a file where the folder belongs");
    const ProgramRun run = File(Source("a.pdf", "doc"), "500");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_THAT(run.err, HasSubstr("台帳に記録できませんでした。"));
    EXPECT_THAT(run.err, HasSubstr("書類は保存されていません。"));
    EXPECT_FALSE(fs::exists(U8(Root() + "/2022年度")));
}

} // namespace
} // namespace fmb
