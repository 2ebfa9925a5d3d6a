#include "settings/CFMBData.h"

#include "support/TempDir.h"

#include <array>
#include <climits>

#include <gtest/gtest.h>

namespace fmb {
namespace {

using test::ReadBytes;
using test::WriteBytes;

// The six flags in the order of the file.
std::array<int, 6> Flags(const CFMBData& data) {
    return {data.KINGAKU_KANMA_FLG,    data.HIDUKE_UB_FLG,      data.DIR_MM_SEPA_FLG,
            data.DIR_COMPANY_SEPA_FLG, data.BIKOU_SYUBETSU_FLG, data.KUGIRI_BER_FLG};
}
constexpr std::array<int, 6> kAllFlagsOff{};

class CFMBDataTest : public ::testing::Test {
protected:
    std::filesystem::path IniPath() const { return m_dir.Path() / "FMB_Setting.ini"; }
    test::TempDir m_dir;
};

TEST_F(CFMBDataTest, ConstructionValues) {
    const CFMBData data(m_dir.Text());
    EXPECT_EQ(data.COPY_SAKI_DIR, "");
    EXPECT_EQ(data.NEND_END_M, 3);
    EXPECT_EQ(Flags(data), kAllFlagsOff);
}

TEST_F(CFMBDataTest, AbsentFileGivesFirstStartValuesAndWritesNothing) {
    CFMBData data(m_dir.Text());
    data.COPY_SAKI_DIR = "stale";
    EXPECT_EQ(data.ReadIni(), -1);
    EXPECT_EQ(data.COPY_SAKI_DIR, "");
    EXPECT_EQ(data.NEND_END_M, 3);
    EXPECT_EQ(data.KINGAKU_KANMA_FLG, 1);
    EXPECT_EQ(data.HIDUKE_UB_FLG, 1);
    EXPECT_EQ(data.DIR_MM_SEPA_FLG, 1);
    EXPECT_EQ(data.DIR_COMPANY_SEPA_FLG, 0);
    EXPECT_EQ(data.BIKOU_SYUBETSU_FLG, 0);
    EXPECT_EQ(data.KUGIRI_BER_FLG, 0);
    EXPECT_TRUE(std::filesystem::is_empty(m_dir.Path()));
}

TEST_F(CFMBDataTest, MissingKeysReadAsEmptyAndZero) {
    WriteBytes(IniPath(), "[SETTING]\r\nCOPY_SAKI_DIR=/data/\x8F\x91\x97\xDE\r\n");
    CFMBData data(m_dir.Text());
    EXPECT_EQ(data.ReadIni(), 0);
    EXPECT_EQ(data.COPY_SAKI_DIR, "/data/書類");
    // No end month would be read as 0: the default month stands in for it.
    EXPECT_EQ(data.NEND_END_M, 3);
    EXPECT_TRUE(data.EndMonthWasReplaced());
    EXPECT_EQ(Flags(data), kAllFlagsOff);
}

TEST_F(CFMBDataTest, NumbersAreReadFromTheirLeadingDigits) {
    // An end month outside 1 to 12 would file December under the wrong fiscal year: it is read
    // as the default month, and the record says so.
    const struct {
        const char* text;
        int number; // as another key reads it
        int month;
        bool replaced;
    } cases[] = {
        {"12abc", 12, 12, false}, {" 1", 1, 1, false}, {"7月", 7, 7, false},
        {"abc", 0, 3, true},      {"13", 13, 3, true}, {" -2", -2, 3, true},
        {"0", 0, 3, true},        {"", 0, 3, true},    {"99999999999", INT_MAX, 3, true},
    };
    for (const auto& c : cases) {
        WriteBytes(IniPath(), std::string("[SETTING]\r\nNEND_END_M=") + c.text +
                                  "\r\nKINGAKU_KANMA_FLG=" + c.text + "\r\n");
        CFMBData data(m_dir.Text());
        data.ReadIni();
        EXPECT_EQ(data.NEND_END_M, c.month) << c.text;
        EXPECT_EQ(data.EndMonthWasReplaced(), c.replaced) << c.text;
        // Other numbers are kept as read.
        EXPECT_EQ(data.KINGAKU_KANMA_FLG, c.number) << c.text;
    }
}

TEST_F(CFMBDataTest, FirstWriteLaysOutTheKeysInOrderInCp932) {
    CFMBData data(m_dir.Text());
    data.COPY_SAKI_DIR = "/data/請求書(控)";
    data.NEND_END_M = 12;
    data.KINGAKU_KANMA_FLG = 1;
    data.KUGIRI_BER_FLG = 1;
    ASSERT_EQ(data.WriteIni(), SaveResult::Saved);
    EXPECT_EQ(ReadBytes(IniPath()),
              "[SETTING]\r\n"
              "COPY_SAKI_DIR=/data/\x90\xBF\x8B\x81\x8F\x91\x28\x8D\x54\x29\r\n"
              "NEND_END_M=12\r\n"
              "KINGAKU_KANMA_FLG=1\r\n"
              "HIDUKE_UB_FLG=0\r\n"
              "DIR_MM_SEPA_FLG=0\r\n"
              "DIR_COMPANY_SEPA_FLG=0\r\n"
              "BIKOU_SYUBETSU_FLG=0\r\n"
              "KUGIRI_BER_FLG=1\r\n");
}

TEST_F(CFMBDataTest, WriteThenReadGivesBackEveryValue) {
    CFMBData written(m_dir.Text());
    written.COPY_SAKI_DIR = "/データ/" + std::string(1000, 'a') + "表";
    written.NEND_END_M = 9;
    written.KINGAKU_KANMA_FLG = 0;
    written.HIDUKE_UB_FLG = 1;
    written.DIR_MM_SEPA_FLG = 0;
    written.DIR_COMPANY_SEPA_FLG = 1;
    written.BIKOU_SYUBETSU_FLG = 1;
    written.KUGIRI_BER_FLG = 0;
    ASSERT_EQ(written.WriteIni(), SaveResult::Saved);
    ASSERT_EQ(written.WriteIni(), SaveResult::Saved); // a second write updates in place

    CFMBData read(m_dir.Text());
    ASSERT_EQ(read.ReadIni(), 0);
    EXPECT_EQ(read.COPY_SAKI_DIR, written.COPY_SAKI_DIR);
    EXPECT_EQ(read.NEND_END_M, 9);
    EXPECT_EQ(read.KINGAKU_KANMA_FLG, 0);
    EXPECT_EQ(read.HIDUKE_UB_FLG, 1);
    EXPECT_EQ(read.DIR_MM_SEPA_FLG, 0);
    EXPECT_EQ(read.DIR_COMPANY_SEPA_FLG, 1);
    EXPECT_EQ(read.BIKOU_SYUBETSU_FLG, 1);
    EXPECT_EQ(read.KUGIRI_BER_FLG, 0);
    EXPECT_EQ(ReadBytes(IniPath()).find("NEND_END_M=9"), ReadBytes(IniPath()).rfind("NEND_END_M"));
}

TEST_F(CFMBDataTest, AFailedWriteIsReportedAndKeepsTheOldFile) {
    const std::string old = "[SETTING]\r\nCOPY_SAKI_DIR=/old\r\n";
    WriteBytes(IniPath(), old);

    CFMBData unrepresentable(m_dir.Text());
    unrepresentable.COPY_SAKI_DIR = "/data/€";
    EXPECT_EQ(unrepresentable.WriteIni(), SaveResult::UnrepresentableText);
    EXPECT_EQ(ReadBytes(IniPath()), old);

    CFMBData missingFolder(m_dir.Child("missing"));
    EXPECT_EQ(missingFolder.WriteIni(), SaveResult::WriteFailed);

    const test::TempDir blocked;
    std::filesystem::create_directory(blocked.Path() / "FMB_Setting.ini");
    CFMBData folderInTheWay(blocked.Text());
    EXPECT_EQ(folderInTheWay.WriteIni(), SaveResult::WriteFailed);
    EXPECT_TRUE(std::filesystem::is_directory(blocked.Path() / "FMB_Setting.ini"));
}

} // namespace
} // namespace fmb
