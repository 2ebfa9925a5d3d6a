#include "cli/CliRun.h"

#include "platform/Cp932.h"
#include "platform/PathText.h"
#include "support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <sstream>

namespace fmb::cli {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::TempDir;
using test::U8;
using test::WriteBytes;
using ::testing::HasSubstr;

const std::string kSep(1, kPathSeparator);

struct Flags {
    int kanma = 1, hidukeUb = 1, dirMonth = 1, dirCompany = 0, bikouType = 0, kugiri = 0;
};

// FMB_Setting.ini as the program keeps it: CP932 bytes, CRLF line breaks.
void WriteSettings(const TempDir& folder, const std::string& root, const Flags& f) {
    std::string text = "[SETTING]\r\nCOPY_SAKI_DIR=" + root + "\r\nNEND_END_M=3\r\n" +
                       "KINGAKU_KANMA_FLG=" + std::to_string(f.kanma) + "\r\n" +
                       "HIDUKE_UB_FLG=" + std::to_string(f.hidukeUb) + "\r\n" +
                       "DIR_MM_SEPA_FLG=" + std::to_string(f.dirMonth) + "\r\n" +
                       "DIR_COMPANY_SEPA_FLG=" + std::to_string(f.dirCompany) + "\r\n" +
                       "BIKOU_SYUBETSU_FLG=" + std::to_string(f.bikouType) + "\r\n" +
                       "KUGIRI_BER_FLG=" + std::to_string(f.kugiri) + "\r\n";
    const cp932::Encoded encoded = cp932::Encode(text);
    ASSERT_TRUE(encoded.Ok());
    WriteBytes(folder.Path() / "FMB_Setting.ini", encoded.bytes);
}

class FilingCommandsTest : public ::testing::Test {
protected:
    FilingCommandsTest() {
        fs::create_directories(U8(m_root));
        fs::create_directories(m_temp.Path() / "scan");
        WriteBytes(U8(m_source), "%PDF-1.4 請求書");
        const struct timespec times[2] = {{1600000000, 0}, {1600000000, 500}};
        ::utimensat(AT_FDCWD, U8(m_source).c_str(), times, 0);
    }

    // The entry of the examples for the given command; overrides replace its values, and the
    // further arguments follow them.
    std::vector<std::string> Entry(const std::string& command,
                                   const std::map<std::string, std::string>& overrides,
                                   const std::vector<std::string>& more) const {
        std::map<std::string, std::string> options = {{"settings-dir", m_settings.Text()},
                                                      {"type", "請求書(控)"},
                                                      {"date", "20221231"},
                                                      {"company", "〇〇商事(株)"},
                                                      {"amount", "500000"}};
        for (const auto& [name, value] : overrides) {
            options[name] = value;
        }
        std::vector<std::string> args = {command};
        for (const auto& [name, value] : options) {
            args.push_back("--" + name + "=" + value);
        }
        args.insert(args.end(), more.begin(), more.end());
        return args;
    }

    TempDir m_temp;
    TempDir m_settings;
    std::string m_root = m_temp.Child("書類");
    std::string m_source = m_temp.Child("scan" + kSep + "doc001.pdf");
};

TEST_F(FilingCommandsTest, ComposeExamples) {
    struct Case {
        Flags flags;
        std::map<std::string, std::string> overrides;
        std::vector<std::string> more;
        std::string folder; // below the storage root
        std::string name;
    };
    const std::string source = m_source;
    const Case cases[] = {
        {{},
         {},
         {source},
         "2022年度/請求書(控)/2022年12月/",
         "[2022_12_31][〇〇商事(株)][500,000].pdf"},
        {{.kanma = 0, .hidukeUb = 0},
         {},
         {source},
         "2022年度/請求書(控)/2022年12月/",
         "[20221231][〇〇商事(株)][500000].pdf"},
        {{.dirCompany = 1, .bikouType = 1, .kugiri = 1},
         {{"date", "20230315"}, {"remark", "3月分"}},
         {source},
         "2022年度/請求書(控)/〇〇商事(株)/2023年03月/",
         "20230315_〇〇商事(株)_500,000＜請求書(控)＞3月分.pdf"},
        {{},
         {},
         {"--extra", "120000", "--extra", "30000", source},
         "2022年度/請求書(控)/2022年12月/",
         "[2022_12_31][〇〇商事(株)][500,000][120,000][30,000].pdf"},
        {{.kanma = 0},
         {},
         {"--extra", "120000", "--extra", "", "--extra", "30000", source},
         "2022年度/請求書(控)/2022年12月/",
         "[2022_12_31][〇〇商事(株)][500000][120000][30000].pdf"},
        // Separators typed into an extra amount are not doubled.
        {{},
         {},
         {"--extra", "1,000", source},
         "2022年度/請求書(控)/2022年12月/",
         "[2022_12_31][〇〇商事(株)][500,000][1,000].pdf"},
        {{}, {}, {}, "2022年度/請求書(控)/2022年12月/", "[2022_12_31][〇〇商事(株)][500,000].NNN"},
        {{}, {{"date", ""}}, {source}, "請求書(控)/", "[__][〇〇商事(株)][500,000].pdf"},
    };
    for (const Case& c : cases) {
        WriteSettings(m_settings, m_root, c.flags);
        const CliRun run = Cli(Entry("compose", c.overrides, c.more));
        EXPECT_EQ(run.status, 0) << run.err;
        std::string folder = c.folder;
        std::replace(folder.begin(), folder.end(), '/', kPathSeparator);
        EXPECT_EQ(run.out, m_root + kSep + folder + "\n" + c.name + "\n");
        EXPECT_EQ(run.err, "");
    }
}

TEST_F(FilingCommandsTest, ComposeWithoutSettingsFileUsesFirstStartValues) {
    const CliRun run = Cli(Entry("compose", {}, {m_source}));
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "2022年度" + kSep + "請求書(控)" + kSep + "2022年12月" + kSep +
                           "\n[2022_12_31][〇〇商事(株)][500,000].pdf\n");
    // Filing needs a storage root.
    const CliRun file = Cli(Entry("file", {}, {m_source}));
    EXPECT_EQ(file.status, 1);
    EXPECT_EQ(file.err,
              "コピー先が指定されていません\n「設定」ボタンを押下して、保存先フォルダを指定"
              "してください。\n");
}

TEST_F(FilingCommandsTest, FileStoresOnceAndRefusesTheSameEntryAgain) {
    WriteSettings(m_settings, m_root, {});
    const std::string stored = m_root + kSep + "2022年度" + kSep + "請求書(控)" + kSep +
                               "2022年12月" + kSep + "[2022_12_31][〇〇商事(株)][500,000].pdf";
    const CliRun first = Cli(Entry("file", {}, {m_source}));
    EXPECT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(first.out, "コピーしました。\n" + stored + "\n");
    EXPECT_EQ(first.err, "");
    EXPECT_EQ(ReadBytes(U8(stored)), "%PDF-1.4 請求書");
    struct stat status {};
    ASSERT_EQ(::stat(U8(stored).c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0444u);
    EXPECT_EQ(status.st_mtim.tv_sec, 1600000000);
    EXPECT_EQ(status.st_mtim.tv_nsec, 500);

    WriteBytes(U8(m_source), "a different document");
    const CliRun second = Cli(Entry("file", {}, {m_source}));
    EXPECT_EQ(second.status, 1);
    EXPECT_EQ(second.out, "");
    EXPECT_EQ(second.err,
              "コピー先に同じファイル名のファイルがあります。\n\n「備考」の文字列を変更す"
              "ることにより、ファイル名を変更できます。\n");
    EXPECT_EQ(ReadBytes(U8(stored)), "%PDF-1.4 請求書");

    // A different remark makes a different name.
    const CliRun third = Cli(Entry("file", {{"remark", "再発行"}}, {m_source}));
    EXPECT_EQ(third.status, 0) << third.err;
    EXPECT_THAT(third.out, HasSubstr("[500,000]再発行.pdf"));
}

TEST_F(FilingCommandsTest, FileRefusesAnInvalidEntryBeforeCopying) {
    WriteSettings(m_settings, m_root, {});
    const CliRun run = Cli(Entry("file", {{"date", "2022/12/31"}}, {m_source}));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err,
              "日付は8桁の数字で入力してください。\n\n 例：2022年12月31日　→　20221231 \n");
    const CliRun company = Cli(Entry("file", {{"company", "A/B"}}, {m_source}));
    EXPECT_EQ(company.status, 1);
    EXPECT_THAT(company.err, HasSubstr("社名に使用禁止文字があります。"));
    EXPECT_TRUE(fs::is_empty(U8(m_root)));
}

TEST_F(FilingCommandsTest, FullWidthDigitsAreFiledAsDigits) {
    WriteSettings(m_settings, m_root, {});
    const CliRun run = Cli(Entry("file", {{"date", "２０２２１２３１"}, {"amount", "５００００"}},
                                 {"--extra", "１２０", m_source}));
    EXPECT_EQ(run.status, 0) << run.err;
    const std::string stored = m_root + kSep + "2022年度" + kSep + "請求書(控)" + kSep +
                               "2022年12月" + kSep + "[2022_12_31][〇〇商事(株)][50,000][120].pdf";
    EXPECT_EQ(run.out, "コピーしました。\n" + stored + "\n");
    EXPECT_EQ(ReadBytes(U8(stored)), "%PDF-1.4 請求書");

    // What is not a digit after the conversion is refused as before.
    const CliRun letters = Cli(Entry("file", {{"amount", "５万"}}, {m_source}));
    EXPECT_EQ(letters.status, 1);
    EXPECT_THAT(letters.err, HasSubstr("金額は数字以外、入力できません。"));
}

TEST_F(FilingCommandsTest, ADayTheCalendarDoesNotHaveIsRefused) {
    WriteSettings(m_settings, m_root, {});
    const CliRun run = Cli(Entry("file", {{"date", "20220230"}}, {m_source}));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "日付の日は、2022年2月には28日までです。修正してください。\n\n 例：2022年2月"
                       "28日　→　20220228 \n");
    EXPECT_TRUE(fs::is_empty(U8(m_root)));
}

TEST_F(FilingCommandsTest, ValuesTheWindowsControlsKeepInBoundsAreCheckedAsThereBeforeCopying) {
    WriteSettings(m_settings, m_root, {.dirMonth = 0});
    const std::string forbiddenType = "種類名に使用禁止文字があります。修正してください。\n\n "
                                      "入力不可→　[ ] \\ / : * ?  < > | \n";
    const std::string notAnAmount = "金額は数字以外、入力できません。修正してください。\n\n "
                                    "入力可能→ 1 2 3 4 5 6 7 8 9 0 + - \n";
    const std::string tooLong =
        "入力可能桁数は、14桁までです。\n\n最大99,999,999,999,999円\n(100兆円未満までです)\n";
    const std::string forbiddenExtension =
        "元ファイルの拡張子に使用禁止文字があります。ファイル名を変えてから、もう一度実行して"
        "ください。\n\n 入力不可→　[ ] \\ / : * ?  < > | \n";
    const auto unsavable = [](const std::string& field, const std::string& shown) {
        return field + "に、保存できない文字" + shown +
               "が含まれています。\n\nこの文字を別の文字に替えてから、もう一度実行してください。\n";
    };
    const struct {
        std::map<std::string, std::string> options;
        std::vector<std::string> extra;
        std::string sourceName; // in the scan folder
        std::string message;
    } cases[] = {
        {{{"type", "請求書\n2022"}}, {}, "doc001.pdf", forbiddenType},
        {{{"type", "請求書[控]"}}, {}, "doc001.pdf", forbiddenType},
        {{{"type", "請求書\\控"}}, {}, "doc001.pdf", forbiddenType},
        {{{"type", "請求書🍣"}}, {}, "doc001.pdf", unsavable("種類名", "「🍣」")},
        {{{"type", ".."}},
         {},
         "doc001.pdf",
         "種類名に「.」や「..」は使えません。修正してください。\n"},
        {{{"type", "."}},
         {},
         "doc001.pdf",
         "種類名に「.」や「..」は使えません。修正してください。\n"},
        {{{"amount", "123456789012345"}}, {}, "doc001.pdf", tooLong},
        {{}, {"abc"}, "doc001.pdf", notAnAmount},
        {{}, {"100", "1][2"}, "doc001.pdf", notAnAmount},
        {{}, {"1", "2", "１２円"}, "doc001.pdf", notAnAmount},
        {{}, {"12,345,678,901,234"}, "doc001.pdf", tooLong},
        {{}, {}, "doc001.p[d]f", forbiddenExtension},
        {{}, {}, "doc001.pdf|x", forbiddenExtension},
        {{}, {}, "doc001.pd\nf", unsavable("元ファイルの拡張子", "（改行）")},
        {{}, {}, "doc001.pdf🍣", unsavable("元ファイルの拡張子", "「🍣」")},
    };
    for (const auto& c : cases) {
        const std::string source = m_temp.Child("scan" + kSep + c.sourceName);
        WriteBytes(U8(source), "%PDF");
        std::vector<std::string> more;
        for (const std::string& amount : c.extra) {
            more.push_back("--extra=" + amount);
        }
        more.push_back(source);
        const CliRun run = Cli(Entry("file", c.options, more));
        EXPECT_EQ(run.status, 1) << c.message;
        EXPECT_EQ(run.err, c.message);
        EXPECT_EQ(run.out, "");
        EXPECT_TRUE(fs::is_empty(U8(m_root))) << c.message;
    }
    // Separators in an extra amount are taken as the multiple-amounts dialog takes them.
    const CliRun filed = Cli(Entry("file", {}, {"--extra=1,000", "--extra=￥2,000", m_source}));
    EXPECT_EQ(filed.status, 0) << filed.err;
    EXPECT_THAT(filed.out, HasSubstr("[500,000][1,000][2,000].pdf"));
}

TEST_F(FilingCommandsTest, WrongCommandLines) {
    const std::string dir = m_settings.Text();
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{}, "Usage:"},
        {{"index-everything"}, "unknown command index-everything"},
        {{"compose", "--colour", "red"}, "unknown option --colour"},
        {{"compose", "--settings-dir", dir, "--date"}, "option --date needs a value"},
        {{"compose", "--settings-dir", dir, "--date", "--company", "A"},
         "option --date needs a value"},
        {{"compose", "--settings-dir", dir, "a.pdf", "b.pdf"}, "more than one SOURCE: b.pdf"},
        {{"compose", "--settings-dir", dir, "--extra", "1", "--extra", "2", "--extra", "3",
          "--extra", "4", "--extra", "5", "--extra", "6"},
         "option --extra can be given at most 5 times"},
        {{"file", "--settings-dir", dir, "--date", "20221231"},
         "the SOURCE file to file is missing"},
        {{"compose", "--settings-dir", m_temp.Child("nowhere")}, "does not exist"},
    };
    for (const auto& [args, message] : cases) {
        const CliRun run = Cli(args);
        EXPECT_EQ(run.status, 2) << message;
        EXPECT_THAT(run.err, HasSubstr(message));
        EXPECT_EQ(run.out, "");
    }
}

TEST_F(FilingCommandsTest, HelpDescribesBothCommands) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--help"}, {"help"}, {"compose", "--help"}}) {
        const CliRun run = Cli(args);
        EXPECT_EQ(run.status, 0);
        EXPECT_THAT(run.out, HasSubstr("fumibako-cli compose"));
        EXPECT_THAT(run.out, HasSubstr("fumibako-cli file"));
        EXPECT_THAT(run.out, HasSubstr("--settings-dir"));
        EXPECT_EQ(run.err, "");
    }
}

std::string ShellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

// The installed program next to its FMB_Setting.ini, run from a shell.
TEST_F(FilingCommandsTest, ProgramReadsTheSettingsBesideItself) {
    TempDir installation;
    const fs::path program = installation.Path() / "fumibako-cli";
    fs::copy_file(FUMIBAKO_CLI_BINARY, program);
    WriteSettings(installation, m_root, {});

    std::string command = ShellQuoted(program.string());
    for (const std::string& arg :
         {std::string("file"), std::string("--type"), std::string("請求書(控)"),
          std::string("--date"), std::string("20221231"), std::string("--company"),
          std::string("〇〇商事(株)"), std::string("--amount"), std::string("500000"), m_source}) {
        command += " " + ShellQuoted(arg);
    }
    FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string output;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
        output += buffer;
    }
    const int status = ::pclose(pipe);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << output;
    const std::string stored = m_root + kSep + "2022年度" + kSep + "請求書(控)" + kSep +
                               "2022年12月" + kSep + "[2022_12_31][〇〇商事(株)][500,000].pdf";
    EXPECT_EQ(output, "コピーしました。\n" + stored + "\n");
    EXPECT_TRUE(fs::is_regular_file(U8(stored)));
}

} // namespace
} // namespace fmb::cli
