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

// The invoice of the examples under the first-start settings (separators in amounts,
// underscores in the date, month folders); each test changes what it is about.
class ComposeDestinationTest : public ::testing::Test {
protected:
    ComposeDestinationTest() {
        m_settings.COPY_SAKI_DIR = Native("/data/書類");
        m_settings.NEND_END_M = 3;
        m_settings.KINGAKU_KANMA_FLG = 1;
        m_settings.HIDUKE_UB_FLG = 1;
        m_settings.DIR_MM_SEPA_FLG = 1;
        m_entry.sourcePath = Native("/scan/doc001.pdf");
        m_entry.typeName = "請求書(控)";
        m_entry.date = "20221231";
        m_entry.company = "〇〇商事(株)";
        m_entry.amount = "500000";
    }

    void AddExtraAmounts() {
        m_entry.extraPlain = "[120000][30000]";
        m_entry.extraComma = "[120,000][30,000]";
    }

    Destination Compose() const { return ComposeDestination(m_entry, m_settings); }

    CFMBData m_settings{""};
    FilingEntry m_entry;
};

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

TEST_F(ComposeDestinationTest, DefaultSettings) {
    const Destination d = Compose();
    EXPECT_EQ(d.folder, Native("/data/書類/2022年度/請求書(控)/2022年12月/"));
    EXPECT_EQ(d.fileName, "[2022_12_31][〇〇商事(株)][500,000].pdf");
    EXPECT_TRUE(d.hasFiscalYear);
}

TEST_F(ComposeDestinationTest, PlainDateAndAmount) {
    m_settings.HIDUKE_UB_FLG = 0;
    m_settings.KINGAKU_KANMA_FLG = 0;
    AddExtraAmounts();
    EXPECT_EQ(Compose().fileName, "[20221231][〇〇商事(株)][500000][120000][30000].pdf");
}

TEST_F(ComposeDestinationTest, UnderscoreFormWithCompanyFolderAndTypeInRemark) {
    m_settings.KUGIRI_BER_FLG = 1;
    m_settings.DIR_COMPANY_SEPA_FLG = 1;
    m_settings.BIKOU_SYUBETSU_FLG = 1;
    m_entry.date = "20230315";
    m_entry.remark = "3月分";
    const Destination d = Compose();
    EXPECT_EQ(d.folder, Native("/data/書類/2022年度/請求書(控)/〇〇商事(株)/2023年03月/"));
    EXPECT_EQ(d.fileName, "20230315_〇〇商事(株)_500,000＜請求書(控)＞3月分.pdf");

    AddExtraAmounts();
    EXPECT_EQ(Compose().fileName,
              "20230315_〇〇商事(株)_500,000[120,000][30,000]＜請求書(控)＞3月分.pdf");
}

TEST_F(ComposeDestinationTest, ExtraAmountsFollowTheSeparatorFlag) {
    AddExtraAmounts();
    EXPECT_EQ(Compose().fileName, "[2022_12_31][〇〇商事(株)][500,000][120,000][30,000].pdf");
    // A flag holding neither 0 nor 1 (a hand-edited file) gives a plain amount and no extras.
    m_settings.KINGAKU_KANMA_FLG = 2;
    EXPECT_EQ(Compose().fileName, "[2022_12_31][〇〇商事(株)][500000].pdf");
}

TEST_F(ComposeDestinationTest, ExtensionComesFromTheSourceFileName) {
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
        m_entry.sourcePath = Native(source);
        EXPECT_EQ(Compose().fileName, "[2022_12_31][〇〇商事(株)][500,000]." + extension) << source;
    }
}

TEST_F(ComposeDestinationTest, EmptyDateGivesNoYearOrMonthFolder) {
    m_entry.date = "";
    const Destination d = Compose();
    EXPECT_EQ(d.folder, Native("/data/書類/請求書(控)/"));
    EXPECT_EQ(d.fileName, "[__][〇〇商事(株)][500,000].pdf");
    EXPECT_FALSE(d.hasFiscalYear);

    // Year 1 before the end month is fiscal year 0: no year folder, but the month folder stays.
    m_entry.date = "00010115";
    const Destination year0 = Compose();
    EXPECT_EQ(year0.folder, Native("/data/書類/請求書(控)/0001年01月/"));
    EXPECT_FALSE(year0.hasFiscalYear);
}

TEST_F(ComposeDestinationTest, StorageRootSpellings) {
    m_settings.COPY_SAKI_DIR = Native("/data/書類/");
    EXPECT_EQ(Compose().folder, Native("/data/書類/2022年度/請求書(控)/2022年12月/"));
    m_settings.COPY_SAKI_DIR = "";
    EXPECT_EQ(Compose().folder, Native("2022年度/請求書(控)/2022年12月/"));
    // Everything empty: no folder at all.
    m_entry = FilingEntry();
    const Destination empty = Compose();
    EXPECT_EQ(empty.folder, "");
    EXPECT_EQ(empty.fileName, "[__][][].NNN");
}

TEST_F(ComposeDestinationTest, NoTypeSelected) {
    m_settings.BIKOU_SYUBETSU_FLG = 1;
    m_entry.typeName = "";
    m_entry.remark = "3月分";
    const Destination d = Compose();
    EXPECT_EQ(d.folder, Native("/data/書類/2022年度/2022年12月/"));
    EXPECT_EQ(d.fileName, "[2022_12_31][〇〇商事(株)][500,000]3月分.pdf");
}

TEST_F(ComposeDestinationTest, TypePrefixStandsAloneWithoutRemark) {
    m_settings.BIKOU_SYUBETSU_FLG = 1;
    m_settings.DIR_MM_SEPA_FLG = 0;
    const Destination d = Compose();
    EXPECT_EQ(d.folder, Native("/data/書類/2022年度/請求書(控)/"));
    EXPECT_EQ(d.fileName, "[2022_12_31][〇〇商事(株)][500,000]＜請求書(控)＞.pdf");
}

TEST_F(ComposeDestinationTest, EndMonthDecidesTheYearFolder) {
    m_settings.DIR_MM_SEPA_FLG = 0;
    m_entry.date = "20230331";
    EXPECT_EQ(Compose().folder, Native("/data/書類/2022年度/請求書(控)/"));
    m_entry.date = "20230401";
    EXPECT_EQ(Compose().folder, Native("/data/書類/2023年度/請求書(控)/"));
    m_settings.NEND_END_M = 12;
    m_entry.date = "20221231";
    EXPECT_EQ(Compose().folder, Native("/data/書類/2022年度/請求書(控)/"));
}

} // namespace
} // namespace fmb
