#include "index/ExportChoices.h"

#include "index/CCsvOut.h"
#include "platform/PathText.h"
#include "support/FixedClock.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace fmb {
namespace {

// A path written with "/" in the platform's spelling.
std::string P(std::string path) {
    std::replace(path.begin(), path.end(), '/', kPathSeparator);
    return path;
}

TEST(ExportChoicesTest, DefaultFileNameIsTheTargetsLastComponentWithToday) {
    const test::FixedClock clock({2024, 1, 5});
    EXPECT_EQ(DefaultIndexBookName(P("/書類/2022年度"), clock),
              "2022年度_索引簿(作成日20240105).csv");
    EXPECT_EQ(DefaultIndexBookName("2022年度", clock), "2022年度_索引簿(作成日20240105).csv");
    EXPECT_EQ(DefaultIndexBookName(P("/書類/"), clock), "_索引簿(作成日20240105).csv");
}

TEST(ExportChoicesTest, BookPathJoinsFolderAndNameWithOneSeparator) {
    EXPECT_EQ(IndexBookPath(P("/書類"), "a.csv"), P("/書類/a.csv"));
    EXPECT_EQ(IndexBookPath(P("/書類/"), "a.csv"), P("/書類/a.csv"));
    EXPECT_EQ(IndexBookPath(P("/"), "a.csv"), P("/a.csv"));
    EXPECT_EQ(IndexBookPath(P("/書類"), ""), P("/書類/"));
}

TEST(ExportChoicesTest, LinksAreRelativeOnlyWhenTheTargetLiesInTheOutputFolder) {
    struct Case {
        const char* what;
        std::string target;
        std::string output;
        bool relative;
        std::string linkBase;
        bool ask;
    };
    const Case cases[] = {
        {"year folder in the storage root", P("/書類/2022年度"), P("/書類"), true, P("/書類/"),
         false},
        {"output folder written with its separator", P("/書類/2022年度"), P("/書類/"), true,
         P("/書類/"), false},
        {"output folder is the file system's root", P("/書類/2022年度"), P("/"), true, P("/"),
         false},
        {"target written with a separator, equal to the output", P("/書類/2022年度/"),
         P("/書類/2022年度"), true, P("/書類/2022年度/"), false},
        {"output equal to the target", P("/書類/2022年度"), P("/書類/2022年度"), true, "", true},
        {"other letter case", P("/Docs/2022"), P("/docs"), true, "", true},
        {"a sibling whose name begins alike", P("/書類2/2022年度"), P("/書類"), true, "", true},
        // Found inside the target but not at its start: every relative path would be empty.
        {"output folder's text in the middle of the target", P("/退避/書類/2022年度"), P("/書類"),
         true, "", true},
        {"elsewhere", P("/書類/2022年度"), P("/USB/索引簿"), true, "", true},
        {"box not ticked", P("/書類/2022年度"), P("/書類"), false, "", false},
        {"box not ticked, elsewhere", P("/書類/2022年度"), P("/USB/索引簿"), false, "", false},
    };
    for (const Case& c : cases) {
        const LinkChoice choice = ChooseLinks(c.target, c.output, c.relative);
        EXPECT_EQ(choice.linkBase, c.linkBase) << c.what;
        EXPECT_EQ(choice.askFullPaths, c.ask) << c.what;
    }
}

TEST(ExportChoicesTest, RefusesFieldsThatWouldWriteSomewhereUnmeant) {
    const test::TempDir dir;
    const std::string folder = dir.Text();
    struct Case {
        std::string target, output, name;
        std::optional<ExportField> refused;
        std::string messageStart;
    };
    const Case cases[] = {
        {folder, folder, "a.csv", std::nullopt, ""},
        {"", folder, "a.csv", ExportField::Target, std::string(kNoTargetFolderMessage)},
        {"", "", "", ExportField::Target, std::string(kNoTargetFolderMessage)},
        {"2022年度", folder, "a.csv", ExportField::Target,
         "リスト化対象フォルダ（年度）は「参照」ボタンで選択するか、フルパスで指定してください。"
         "\n\n2022年度"},
        {folder, "", "a.csv", ExportField::OutputFolder, "出力フォルダ名が指定されていません。"},
        {folder, "書類", "a.csv", ExportField::OutputFolder,
         "出力フォルダ名は「参照」ボタンで選択するか、フルパスで指定してください。\n\n書類"},
        {folder, folder, "", ExportField::FileName, "出力ファイル名(CSV)が指定されていません。"},
    };
    for (const Case& c : cases) {
        const auto refusal = CheckExportFields(c.target, c.output, c.name);
        ASSERT_EQ(refusal.has_value(), c.refused.has_value()) << c.target << "|" << c.output;
        if (refusal) {
            EXPECT_EQ(refusal->focus, *c.refused);
            EXPECT_EQ(refusal->message.rfind(c.messageStart, 0), 0u) << refusal->message;
        }
    }
}

} // namespace
} // namespace fmb
