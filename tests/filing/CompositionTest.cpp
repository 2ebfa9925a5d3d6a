#include "filing/Composition.h"

#include "platform/PathText.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace fmb {
namespace {

// A path written with '/' in the platform's own spelling.
std::string Native(std::string path) {
    std::replace(path.begin(), path.end(), '/', kPathSeparator);
    return path;
}

// The first-start settings: separators in amounts, underscores in the date, month folders.
void SetDefaults(CFMBData& settings) {
    settings.COPY_SAKI_DIR = Native("/data/書類");
    settings.NEND_END_M = 3;
    settings.KINGAKU_KANMA_FLG = 1;
    settings.HIDUKE_UB_FLG = 1;
    settings.DIR_MM_SEPA_FLG = 1;
    settings.DIR_COMPANY_SEPA_FLG = 0;
    settings.BIKOU_SYUBETSU_FLG = 0;
    settings.KUGIRI_BER_FLG = 0;
}

FilingEntry Invoice() {
    FilingEntry entry;
    entry.sourcePath = Native("/scan/doc001.pdf");
    entry.typeName = "請求書(控)";
    entry.date = "20221231";
    entry.company = "〇〇商事(株)";
    entry.amount = "500000";
    return entry;
}

TEST(FormatThousands, InsertsSeparatorsBetweenGroupsOfThree) {
    const std::pair<std::string, std::string> cases[] = {
        {"500000", "500,000"},
        {"1234567", "1,234,567"},
        {"-123456", "-123,456"},
        {"-123", "-123"},
        {"+1000", "+1,000"},
        {"123", "123"},
        {"12", "12"},
        {"", ""},
        {"99999999999999", "99,999,999,999,999"},
        // Characters, not bytes, are counted, so a full-width digit is never split.
        {"１２３４", "１,２３４"},
    };
    for (const auto& [amount, expected] : cases) {
        EXPECT_EQ(FormatThousands(amount), expected) << amount;
    }
}

TEST(DateWithUnderscores, MissingCharactersGiveEmptyParts) {
    EXPECT_EQ(DateWithUnderscores("20221231"), "2022_12_31");
    EXPECT_EQ(DateWithUnderscores(""), "__");
    EXPECT_EQ(DateWithUnderscores("202212"), "2022_12_");
    EXPECT_EQ(DateWithUnderscores("2022123199"), "2022_12_31");
}

TEST(FiscalYear, EndMonthBelongsToTheYearEndingInIt) {
    struct Case {
        const char* date;
        int endMonth;
        const char* expected;
    };
    const Case cases[] = {
        {"20221231", 3, "2022"}, {"20230115", 3, "2022"},  {"20230331", 3, "2022"},
        {"20230401", 3, "2023"}, {"20221231", 12, "2022"}, {"20230101", 12, "2023"},
        {"20220930", 9, "2021"}, {"20221001", 9, "2022"},  {"", 3, "-1"},
        {"", 12, "0"},           {"00010115", 3, "0"},     {"2022", 3, "2021"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FiscalYearText(c.date, c.endMonth), c.expected) << c.date << " " << c.endMonth;
    }
    EXPECT_EQ(FiscalYearOf(2023, 3, 3), 2022);
    EXPECT_EQ(FiscalYearOf(2023, 4, 3), 2023);
}

TEST(ComposeDestination, DefaultSettings) {
    CFMBData settings("");
    SetDefaults(settings);
    const Destination d = ComposeDestination(Invoice(), settings);
    EXPECT_EQ(d.folder, Native("/data/書類/2022年度/請求書(控)/2022年12月/"));
    EXPECT_EQ(d.fileName, "[2022_12_31][〇〇商事(株)][500,000].pdf");
    EXPECT_TRUE(d.hasFiscalYear);
}

TEST(ComposeDestination, PlainDateAndAmount) {
    CFMBData settings("");
    SetDefaults(settings);
    settings.HIDUKE_UB_FLG = 0;
    settings.KINGAKU_KANMA_FLG = 0;
    FilingEntry entry = Invoice();
    entry.extraPlain = "[120000][30000]";
    entry.extraComma = "[120,000][30,000]";
    EXPECT_EQ(ComposeDestination(entry, settings).fileName,
              "[20221231][〇〇商事(株)][500000][120000][30000].pdf");
}

TEST(ComposeDestination, UnderscoreFormWithCompanyFolderAndTypeInRemark) {
    CFMBData settings("");
    SetDefaults(settings);
    settings.KUGIRI_BER_FLG = 1;
    settings.DIR_COMPANY_SEPA_FLG = 1;
    settings.BIKOU_SYUBETSU_FLG = 1;
    FilingEntry entry = Invoice();
    entry.date = "20230315";
    entry.remark = "3月分";
    const Destination d = ComposeDestination(entry, settings);
    EXPECT_EQ(d.folder, Native("/data/書類/2022年度/請求書(控)/〇〇商事(株)/2023年03月/"));
    EXPECT_EQ(d.fileName, "20230315_〇〇商事(株)_500,000＜請求書(控)＞3月分.pdf");

    entry.extraPlain = "[120000][30000]";
    entry.extraComma = "[120,000][30,000]";
    EXPECT_EQ(ComposeDestination(entry, settings).fileName,
              "20230315_〇〇商事(株)_500,000[120,000][30,000]＜請求書(控)＞3月分.pdf");
}

TEST(ComposeDestination, ExtraAmountsFollowTheSeparatorFlag) {
    CFMBData settings("");
    SetDefaults(settings);
    FilingEntry entry = Invoice();
    entry.extraPlain = "[120000][30000]";
    entry.extraComma = "[120,000][30,000]";
    EXPECT_EQ(ComposeDestination(entry, settings).fileName,
              "[2022_12_31][〇〇商事(株)][500,000][120,000][30,000].pdf");
    // A flag holding neither 0 nor 1 (a hand-edited file) gives a plain amount and no extras.
    settings.KINGAKU_KANMA_FLG = 2;
    EXPECT_EQ(ComposeDestination(entry, settings).fileName,
              "[2022_12_31][〇〇商事(株)][500000].pdf");
}

TEST(ComposeDestination, ExtensionComesFromTheSourceFileName) {
    CFMBData settings("");
    SetDefaults(settings);
    const std::pair<std::string, std::string> cases[] = {
        {"", "NNN"},
        {"/scan/doc.001.PDF", "PDF"},
        {"/scan/.hidden", "hidden"},
        // A dot in a folder name is not the file's extension.
        {"/scan.d/doc001", "NNN"},
        {"/scan/doc001.", "NNN"},
        {"doc001.jpeg", "jpeg"},
    };
    for (const auto& [source, extension] : cases) {
        FilingEntry entry = Invoice();
        entry.sourcePath = Native(source);
        EXPECT_EQ(ComposeDestination(entry, settings).fileName,
                  "[2022_12_31][〇〇商事(株)][500,000]." + extension)
            << source;
    }
}

TEST(ComposeDestination, EmptyDateGivesNoYearOrMonthFolder) {
    CFMBData settings("");
    SetDefaults(settings);
    FilingEntry entry = Invoice();
    entry.date = "";
    const Destination d = ComposeDestination(entry, settings);
    EXPECT_EQ(d.folder, Native("/data/書類/請求書(控)/"));
    EXPECT_EQ(d.fileName, "[__][〇〇商事(株)][500,000].pdf");
    EXPECT_FALSE(d.hasFiscalYear);

    // Year 1 before the end month is fiscal year 0: no year folder, but the month folder stays.
    entry.date = "00010115";
    const Destination year0 = ComposeDestination(entry, settings);
    EXPECT_EQ(year0.folder, Native("/data/書類/請求書(控)/0001年01月/"));
    EXPECT_FALSE(year0.hasFiscalYear);
}

TEST(ComposeDestination, StorageRootSpellings) {
    CFMBData settings("");
    SetDefaults(settings);
    settings.COPY_SAKI_DIR = Native("/data/書類/");
    EXPECT_EQ(ComposeDestination(Invoice(), settings).folder,
              Native("/data/書類/2022年度/請求書(控)/2022年12月/"));
    settings.COPY_SAKI_DIR = "";
    EXPECT_EQ(ComposeDestination(Invoice(), settings).folder,
              Native("2022年度/請求書(控)/2022年12月/"));
    // Everything empty: no folder at all.
    FilingEntry entry;
    const Destination empty = ComposeDestination(entry, settings);
    EXPECT_EQ(empty.folder, "");
    EXPECT_EQ(empty.fileName, "[__][][].NNN");
}

TEST(ComposeDestination, NoTypeSelected) {
    CFMBData settings("");
    SetDefaults(settings);
    settings.BIKOU_SYUBETSU_FLG = 1;
    FilingEntry entry = Invoice();
    entry.typeName = "";
    entry.remark = "3月分";
    const Destination d = ComposeDestination(entry, settings);
    EXPECT_EQ(d.folder, Native("/data/書類/2022年度/2022年12月/"));
    EXPECT_EQ(d.fileName, "[2022_12_31][〇〇商事(株)][500,000]3月分.pdf");
}

TEST(ComposeDestination, TypePrefixStandsAloneWithoutRemark) {
    CFMBData settings("");
    SetDefaults(settings);
    settings.BIKOU_SYUBETSU_FLG = 1;
    settings.DIR_MM_SEPA_FLG = 0;
    const Destination d = ComposeDestination(Invoice(), settings);
    EXPECT_EQ(d.folder, Native("/data/書類/2022年度/請求書(控)/"));
    EXPECT_EQ(d.fileName, "[2022_12_31][〇〇商事(株)][500,000]＜請求書(控)＞.pdf");
}

TEST(ComposeDestination, EndMonthDecidesTheYearFolder) {
    CFMBData settings("");
    SetDefaults(settings);
    settings.DIR_MM_SEPA_FLG = 0;
    FilingEntry entry = Invoice();
    entry.date = "20230331";
    EXPECT_EQ(ComposeDestination(entry, settings).folder,
              Native("/data/書類/2022年度/請求書(控)/"));
    entry.date = "20230401";
    EXPECT_EQ(ComposeDestination(entry, settings).folder,
              Native("/data/書類/2023年度/請求書(控)/"));
    settings.NEND_END_M = 12;
    entry.date = "20221231";
    EXPECT_EQ(ComposeDestination(entry, settings).folder,
              Native("/data/書類/2022年度/請求書(控)/"));
}

} // namespace
} // namespace fmb
