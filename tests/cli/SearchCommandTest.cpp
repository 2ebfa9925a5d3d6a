#include "cli/Cli.h"

#include "platform/Cp932.h"
#include "platform/PathText.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include <sys/wait.h>

namespace fmb::cli {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::TempDir;
using test::U8;
using test::WriteBytes;

const std::string kSep(1, kPathSeparator);

std::string ShellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

struct ProgramRun {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs the real program from a shell.
ProgramRun RunProgram(const std::vector<std::string>& args) {
    TempDir scratch;
    const std::string errFile = scratch.Child("err");
    std::string command = ShellQuoted(FUMIBAKO_CLI_BINARY);
    for (const std::string& arg : args) {
        command += " " + ShellQuoted(arg);
    }
    ProgramRun run;
    FILE* pipe = ::popen((command + " 2>" + ShellQuoted(errFile)).c_str(), "r");
    if (pipe == nullptr) {
        return run;
    }
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
        run.out += buffer;
    }
    const int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.err = ReadBytes(U8(errFile));
    return run;
}

// Documents filed by the command line itself, under both name forms, then searched by the real
// program: the search reads back what the filing writes.
class SearchCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteBytes(U8(m_source), "%PDF-1.4\n");
        fs::create_directories(U8(m_root));
        File(0, "請求書", {"--date", "20230120", "--company", "国税商事", "--amount", "2100"});
        File(1, "請求書",
             {"--date", "20230315", "--company", "(株)ＡＢＣ", "--amount", "500000", "--extra",
              "120000", "--extra", "30000", "--remark", "3月分"});
        File(0, "領収書", {"--date", "20240401", "--company", "㈱テスト", "--amount", "-300"});
    }

    // Files the source with the underscore form (kugiri 1) or the bracketed form (0).
    void File(int kugiri, const std::string& type, std::vector<std::string> options) {
        const std::string ini = "[SETTING]\r\nCOPY_SAKI_DIR=" + m_root +
                                "\r\nNEND_END_M=3\r\nKINGAKU_KANMA_FLG=1\r\nHIDUKE_UB_FLG=0\r\n"
                                "KUGIRI_BER_FLG=" +
                                std::to_string(kugiri) + "\r\n";
        WriteBytes(m_settings.Path() / "FMB_Setting.ini", cp932::Encode(ini).bytes);
        // One source filed under three names: the ledger would refuse its content twice.
        std::vector<std::string> args = {"file", "--settings-dir",   m_settings.Text(), "--type",
                                         type,   "--allow-duplicate"};
        args.insert(args.end(), options.begin(), options.end());
        args.push_back(m_source);
        std::ostringstream out;
        std::ostringstream err;
        ASSERT_EQ(RunCli(args, out, err), 0) << err.str();
        std::string path = out.str().substr(out.str().find('\n') + 1);
        path.pop_back();
        m_filed.push_back(path);
    }

    ProgramRun Search(std::vector<std::string> args) {
        args.insert(args.begin(), {"search", "--settings-dir", m_settings.Text()});
        return RunProgram(args);
    }

    std::string Lines(const std::vector<int>& filed) const {
        std::string lines;
        for (const int i : filed) {
            lines += m_filed[static_cast<std::size_t>(i)] + "\n";
        }
        return lines;
    }

    TempDir m_temp;
    TempDir m_settings;
    std::string m_root = m_temp.Child("書類");
    std::string m_source = m_temp.Child("doc.pdf");
    std::vector<std::string> m_filed;
};

TEST_F(SearchCommandTest, PrintsTheMatchingDocumentsSortedByDate) {
    ASSERT_EQ(m_filed.size(), 3u);
    // The second document was filed in the underscore form.
    EXPECT_NE(m_filed[1].find("20230315_(株)ＡＢＣ_500,000[120,000][30,000]3月分.pdf"),
              std::string::npos);
    const struct {
        std::vector<std::string> options;
        std::vector<int> filed;
    } cases[] = {
        {{}, {0, 1, 2}},
        {{"--from", "20230120", "--to", "20230315"}, {0, 1}},
        {{"--min", "100,000", "--max", "120000"}, {1}},
        {{"--min", "-300", "--max", "-300"}, {2}},
        {{"--company", "abc"}, {1}},
        {{"--company", "(株)ﾃｽﾄ"}, {2}},
        {{"--type", "領収書"}, {2}},
        {{"--text", "３月"}, {1}},
        {{"--company", "商事", "--max", "1000"}, {}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = c.options;
        args.push_back(m_root);
        const ProgramRun run = Search(args);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, Lines(c.filed)) << args.front();
        EXPECT_EQ(run.err, "");
    }
}

TEST_F(SearchCommandTest, WritesTheHitsAsAnIndexBookBesideThem) {
    const std::string book = m_root + kSep + "hits.csv";
    const ProgramRun run = Search({"--from", "20230301", "--csv", book, m_root});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, Lines({1, 2}));
    const std::string text = cp932::Decode(ReadBytes(U8(book))).utf8;
    EXPECT_EQ(text, "種類,年月日,取引先名,金額,備考(種別),備考,ファイルパス,リンク先を開く\n"
                    "請求書,20230315,(株)ＡＢＣ,500000,,3月分,\"2022年度" +
                        kSep + "請求書" + kSep +
                        "20230315_(株)ＡＢＣ_500,000[120,000][30,000]3月分.pdf\",=HYPERLINK(G2)\n"
                        "請求書,20230315,(株)ＡＢＣ,120000,,3月分,\"2022年度" +
                        kSep + "請求書" + kSep +
                        "20230315_(株)ＡＢＣ_500,000[120,000][30,000]3月分.pdf\",=HYPERLINK(G3)\n"
                        "請求書,20230315,(株)ＡＢＣ,30000,,3月分,\"2022年度" +
                        kSep + "請求書" + kSep +
                        "20230315_(株)ＡＢＣ_500,000[120,000][30,000]3月分.pdf\",=HYPERLINK(G4)\n"
                        "領収書,20240401,㈱テスト,-300,,,\"2024年度" +
                        kSep + "領収書" + kSep +
                        "[20240401][㈱テスト][-300].pdf\",=HYPERLINK(G5)\n");
}

TEST_F(SearchCommandTest, AWrongCommandLineSearchesNothingAndEndsWithTwo) {
    const struct {
        std::vector<std::string> args;
        const char* told;
    } cases[] = {
        {{"--from", "20230230", m_root}, "--from: 存在しない日付です。"},
        {{"--from", "20230401", "--to", "20230301", m_root},
         "--to: 終わりの日付が始まりの日付より前です。"},
        {{"--min", "1万", m_root}, "--min: 金額は数字で入力してください"},
        {{"--colour", "red", m_root}, "--colour"},
        {{}, "search needs one ROOT folder"},
        {{m_root, m_root}, "search needs one ROOT folder"},
    };
    for (const auto& c : cases) {
        const ProgramRun run = Search(c.args);
        EXPECT_EQ(run.status, 2) << c.told;
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find(c.told), std::string::npos) << run.err;
    }
}

TEST_F(SearchCommandTest, AMissingRootOrABookThatCannotBeWrittenEndsWithOne) {
    const ProgramRun missing = Search({m_temp.Child("無い")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("保存先フォルダが見つかりません。"), std::string::npos);

    const ProgramRun book = Search({"--csv", m_temp.Child("無い") + kSep + "hits.csv", m_root});
    EXPECT_EQ(book.status, 1);
    EXPECT_EQ(book.out, Lines({0, 1, 2}));
    EXPECT_NE(book.err.find("索引簿ファイルを作成できませんでした。"), std::string::npos)
        << book.err;
}

} // namespace
} // namespace fmb::cli
