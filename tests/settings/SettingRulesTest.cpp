// The settings dialog's example, its checks before saving, and the first-start rule.
#include "settings/SettingRules.h"

#include "filing/Composition.h"
#include "platform/PathText.h"
#include "support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

namespace fmb {
namespace {

using Folders = std::vector<std::string>;

struct Flags {
    int underscores; // KUGIRI_BER_FLG
    int dateUnderscores;
    int commas;
    int typeInRemark;
};

void Apply(CFMBData& settings, const Flags& flags) {
    settings.KUGIRI_BER_FLG = flags.underscores;
    settings.HIDUKE_UB_FLG = flags.dateUnderscores;
    settings.KINGAKU_KANMA_FLG = flags.commas;
    settings.BIKOU_SYUBETSU_FLG = flags.typeInRemark;
}

TEST(SettingExample, FileNameForEachFormOfTheName) {
    struct Row {
        Flags flags;
        const char* shown;
    };
    const Row rows[] = {
        {{0, 0, 0, 0}, "例 : [20241231][(株)〇〇商事][500000].pdf"},
        {{0, 1, 1, 0}, "例 : [2024_12_31][(株)〇〇商事][500,000].pdf"},
        {{0, 0, 0, 1}, "例 : [20241231][(株)〇〇商事][500000]＜請求書(控)＞.pdf"},
        {{1, 0, 0, 0}, "例 : 20241231_(株)〇〇商事_500000.pdf"},
        {{1, 1, 0, 0}, "例 : 20241231_(株)〇〇商事_500000.pdf"},
        {{1, 0, 1, 1}, "例 : 20241231_(株)〇〇商事_500,000＜請求書(控)＞.pdf"},
        {{1, 1, 1, 1}, "例 : 20241231_(株)〇〇商事_500,000＜請求書(控)＞.pdf"},
    };
    for (const Row& row : rows) {
        CFMBData choices("");
        Apply(choices, row.flags);
        EXPECT_EQ(MakeSettingExample(choices, 2024).fileName, row.shown) << row.shown;
    }
    CFMBData early("");
    EXPECT_EQ(MakeSettingExample(early, 987).fileName, "例 : [09871231][(株)〇〇商事][500000].pdf");
}

TEST(SettingExample, FoldersBelowTheRootFollowTheFolderFlags) {
    struct Row {
        int company;
        int month;
        Folders folders;
    };
    const Row rows[] = {
        {1, 1, {"D:/書類", "2024年度", "請求書(控)", "(株)〇〇商事", "2024年12月"}},
        {1, 0, {"D:/書類", "2024年度", "請求書(控)", "(株)〇〇商事"}},
        {0, 1, {"D:/書類", "2024年度", "請求書(控)", "2024年12月"}},
        {0, 0, {"D:/書類", "2024年度", "請求書(控)"}},
    };
    for (const Row& row : rows) {
        CFMBData choices("");
        choices.COPY_SAKI_DIR = "D:/書類";
        choices.DIR_COMPANY_SEPA_FLG = row.company;
        choices.DIR_MM_SEPA_FLG = row.month;
        EXPECT_EQ(MakeSettingExample(choices, 2024).folders, row.folders);
    }

    // No root, no tree; the file name is shown all the same.
    CFMBData noRoot("");
    noRoot.DIR_MM_SEPA_FLG = 1;
    const SettingExample example = MakeSettingExample(noRoot, 2024);
    EXPECT_TRUE(example.folders.empty());
    EXPECT_EQ(example.fileName, "例 : [20241231][(株)〇〇商事][500000].pdf");
}

TEST(SettingExample, TheFiscalYearOfTheLastDayOfTheYear) {
    CFMBData choices("");
    choices.COPY_SAKI_DIR = "root";
    for (int month = 1; month <= 12; ++month) {
        choices.NEND_END_M = month;
        EXPECT_EQ(MakeSettingExample(choices, 2024).folders.at(1), "2024年度") << month;
    }
    // An end month beyond December puts the 31st of December into the year before.
    choices.NEND_END_M = 13;
    EXPECT_EQ(MakeSettingExample(choices, 2024).folders.at(1), "2023年度");
}

// The example is what a real filing of its sample document would give: for every combination of
// the six check boxes, with and without a final separator on the root, and for end months inside
// and outside 1 to 12, the shown name is the composed name and the tree spells out the composed
// folder level by level.
TEST(SettingExample, MatchesTheCompositionForEveryCombinationOfChoices) {
    FilingEntry sample;
    sample.sourcePath = "scan.pdf";
    sample.typeName = "請求書(控)";
    sample.date = "20241231";
    sample.company = "(株)〇〇商事";
    sample.amount = "500000";
    const std::string sep(1, kPathSeparator);
    for (const std::string& root : {"D:" + sep + "書類", "D:" + sep + "書類" + sep}) {
        for (const int endMonth : {1, 3, 12, 13}) {
            for (int flags = 0; flags < 64; ++flags) {
                CFMBData choices("");
                choices.COPY_SAKI_DIR = root;
                choices.NEND_END_M = endMonth;
                choices.KINGAKU_KANMA_FLG = flags & 1;
                choices.HIDUKE_UB_FLG = (flags >> 1) & 1;
                choices.DIR_MM_SEPA_FLG = (flags >> 2) & 1;
                choices.DIR_COMPANY_SEPA_FLG = (flags >> 3) & 1;
                choices.BIKOU_SYUBETSU_FLG = (flags >> 4) & 1;
                choices.KUGIRI_BER_FLG = (flags >> 5) & 1;
                const SettingExample example = MakeSettingExample(choices, 2024);
                const Destination filed = ComposeDestination(sample, choices);
                const std::string context =
                    root + " month " + std::to_string(endMonth) + " flags " + std::to_string(flags);

                EXPECT_EQ(example.fileName, "例 : " + filed.fileName) << context;
                ASSERT_FALSE(example.folders.empty()) << context;
                EXPECT_EQ(example.folders.front(), root) << context;
                std::string folder = WithTrailingSeparator(example.folders.front());
                for (std::size_t level = 1; level < example.folders.size(); ++level)
                    folder += example.folders[level] + sep;
                EXPECT_EQ(folder, filed.folder) << context;
            }
        }
    }
}

TEST(ValidateSettings, ChecksInTheirOrder) {
    test::TempDir dir;
    const std::string file = dir.Child("file.txt");
    test::WriteBytes(test::U8(file), "x");
    struct Row {
        std::string root;
        int month;
        std::optional<SettingField> focus; // meaningful only when refused
        const char* message;               // nullptr: accepted
    };
    const char* missing =
        "保存先フォルダが存在しません\n存在する保存先フォルダを指定してください。";
    const char* empty =
        "「保存先フォルダ」が未選択です。「参照」ボタンを押して、選択してください。";
    const char* month = "「年度末(月)」は1～12を半角数字で入力してください。";
    const Row rows[] = {
        {dir.Child("missing"), 13, std::nullopt, missing}, // before the month
        {file, 3, std::nullopt, missing},                  // a file is no folder
        {"", 0, SettingField::Root, empty},
        {dir.Text(), 0, SettingField::Month, month},
        {dir.Text(), 13, SettingField::Month, month},
        {dir.Text(), -3, SettingField::Month, month},
        {dir.Text(), 1, std::nullopt, nullptr},
        {dir.Text(true), 12, std::nullopt, nullptr},
    };
    for (const Row& row : rows) {
        CFMBData settings("");
        settings.COPY_SAKI_DIR = row.root;
        settings.NEND_END_M = row.month;
        const auto refusal = ValidateSettings(settings);
        SCOPED_TRACE(row.root + " " + std::to_string(row.month));
        if (row.message == nullptr) {
            EXPECT_FALSE(refusal.has_value());
            continue;
        }
        ASSERT_TRUE(refusal.has_value());
        EXPECT_EQ(refusal->message, row.message);
        EXPECT_EQ(refusal->focus, row.focus);
    }
}

TEST(CompleteTypes, OnlyAnEmptyStoreOrOneOfTwelveTypesIsCompletedAndWritten) {
    test::TempDir dir;
    CFMBSyameiData empty(dir.Text());
    EXPECT_EQ(CompleteTypes(empty), SaveResult::Saved);
    EXPECT_EQ(empty.TypeCount(), 36);
    CFMBSyameiData read(dir.Text());
    read.ReadIni();
    EXPECT_EQ(read.TypeCount(), 36);
    EXPECT_EQ(read.TypeName(5), "その他");

    CFMBSyameiData twelve(dir.Child("elsewhere"));
    for (int slot = 0; slot < 12; ++slot)
        twelve.SetTypeName(slot, "T" + std::to_string(slot));
    // The folder does not exist: the completed store is kept, the failed write reported.
    EXPECT_EQ(CompleteTypes(twelve), SaveResult::WriteFailed);
    EXPECT_EQ(twelve.TypeCount(), 36);
    EXPECT_EQ(twelve.TypeName(11), "T11");
    EXPECT_EQ(twelve.TypeName(12), "NoData_13");

    // A write into the missing folder would fail, so 0 shows that none was tried.
    CFMBSyameiData five(dir.Child("untouched"));
    five.SetTypeName(4, "E");
    EXPECT_EQ(CompleteTypes(five), SaveResult::Saved);
    EXPECT_EQ(five.TypeCount(), 5);
}

} // namespace
} // namespace fmb
