#include "settings/CFMBSyameiData.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace fmb {
namespace {

using test::ReadBytes;
using test::WriteBytes;

class CFMBSyameiDataTest : public ::testing::Test {
protected:
    std::filesystem::path IniPath() const { return m_dir.Path() / "FMB_Corp.ini"; }
    std::vector<std::string> Names(const CFMBSyameiData& data) const {
        std::vector<std::string> names;
        data.GetTypeNames(names);
        return names;
    }
    test::TempDir m_dir;
};

TEST_F(CFMBSyameiDataTest, AbsentFileGivesAnEmptyStore) {
    CFMBSyameiData data(m_dir.Text());
    EXPECT_EQ(data.ReadIni(), 0);
    EXPECT_EQ(data.TypeCount(), 0);
    std::vector<std::string> companies{"kept"};
    EXPECT_EQ(data.GetCompanyNames(0, companies), 0);
    EXPECT_EQ(companies, std::vector<std::string>{"kept"});
}

TEST_F(CFMBSyameiDataTest, FirstStartDefaultsAreWrittenAsThirtySixSlots) {
    CFMBSyameiData data(m_dir.Text());
    EXPECT_EQ(data.SetDefaultTypes(), 12);
    EXPECT_EQ(data.ExtendTypes(), 36);
    ASSERT_EQ(data.WriteIni(), SaveResult::Saved);

    const std::string bytes = ReadBytes(IniPath());
    EXPECT_EQ(bytes.rfind("[SYURUI]\r\nSIZE=36\r\n"
                          "[SYURUI_001]\r\nSIZE=1\r\nSYURUI_NAME=\x90\xBF\x8B\x81\x8F\x91\r\n"
                          "[SYURUI_002]\r\nSIZE=1\r\n",
                          0),
              0u);
    EXPECT_NE(bytes.find("[SYURUI_036]\r\nSIZE=1\r\nSYURUI_NAME=NoData_36\r\n"), std::string::npos);

    CFMBSyameiData read(m_dir.Text());
    read.ReadIni();
    std::vector<std::string> expected{"請求書",     "請求書(控)", "領収書",
                                      "クレカ明細", "給与明細",   "その他"};
    for (int n = 7; n <= 36; ++n) {
        expected.push_back((n < 10 ? "NoData_0" : "NoData_") + std::to_string(n));
    }
    EXPECT_EQ(Names(read), expected);
}

TEST_F(CFMBSyameiDataTest, AFileThatSaysTwelveIsReadAsThirtySix) {
    std::string file = "[SYURUI]\r\nSIZE=12\r\n";
    for (int n = 1; n <= 12; ++n) {
        char section[64];
        std::snprintf(section, sizeof section, "[SYURUI_%03d]\r\nSIZE=1\r\nSYURUI_NAME=T%d\r\n", n,
                      n);
        file += section;
    }
    // A section beyond the size is ignored: slot 13 keeps its placeholder.
    file += "[SYURUI_013]\r\nSIZE=1\r\nSYURUI_NAME=stale\r\n";
    WriteBytes(IniPath(), file);
    CFMBSyameiData data(m_dir.Text());
    data.ReadIni();
    const auto names = Names(data);
    ASSERT_EQ(names.size(), 36u);
    EXPECT_EQ(names[11], "T12");
    EXPECT_EQ(names[12], "NoData_13");
    EXPECT_EQ(names[35], "NoData_36");
}

TEST_F(CFMBSyameiDataTest, ReadsOnlyAsFarAsTheSizesSay) {
    WriteBytes(IniPath(), "[SYURUI]\r\nSIZE=5\r\n"
                          "[SYURUI_001]\r\nSIZE=3\r\nSYURUI_NAME=A\r\nSYA_NAME_001=x\r\n"
                          "[SYURUI_002]\r\nSIZE=0\r\nSYURUI_NAME=B\r\nSYA_NAME_001=ignored\r\n"
                          "[SYURUI_003]\r\nSIZE=-4\r\n"
                          "[SYURUI_004]\r\nsize=2\r\nsyurui_name=D\r\nsya_name_001=d1\r\n");
    CFMBSyameiData data(m_dir.Text());
    data.ReadIni();
    EXPECT_EQ(Names(data), (std::vector<std::string>{"A", "B", "", "D", ""}));
    std::vector<std::string> companies;
    EXPECT_EQ(data.GetCompanyNames(0, companies), 1);
    EXPECT_EQ(companies, (std::vector<std::string>{"x", ""}));
    EXPECT_EQ(data.GetCompanyNames(1, companies), 0);
    EXPECT_EQ(data.GetCompanyNames(3, companies), 1);
    EXPECT_EQ(companies, std::vector<std::string>{"d1"});
    // A slot beyond the store is no error: it simply has no companies.
    EXPECT_EQ(data.GetCompanyNames(5, companies), 0);
}

TEST_F(CFMBSyameiDataTest, AbsurdSizesAreCapped) {
    WriteBytes(IniPath(), "[SYURUI]\r\nSIZE=2000000000\r\n");
    CFMBSyameiData data(m_dir.Text());
    data.ReadIni();
    EXPECT_EQ(data.TypeCount(), 9999);
}

TEST_F(CFMBSyameiDataTest, FewerCompaniesLeaveStaleKeysThatAreIgnored) {
    CFMBSyameiData data(m_dir.Text());
    data.SetDefaultTypes();
    data.ExtendTypes();
    data.SetCompanyNames(1, {"a", "b", "c", "d", "e"});
    ASSERT_EQ(data.WriteIni(), SaveResult::Saved);
    data.SetCompanyNames(1, {"a", "b"});
    ASSERT_EQ(data.WriteIni(), SaveResult::Saved);

    const std::string bytes = ReadBytes(IniPath());
    EXPECT_NE(bytes.find("[SYURUI_002]\r\nSIZE=3\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("SYA_NAME_005=e"), std::string::npos);
    CFMBSyameiData read(m_dir.Text());
    read.ReadIni();
    std::vector<std::string> companies;
    read.GetCompanyNames(1, companies);
    EXPECT_EQ(companies, (std::vector<std::string>{"a", "b"}));
}

TEST_F(CFMBSyameiDataTest, RenamingKeepsCompaniesAndGrowsTheStore) {
    CFMBSyameiData data(m_dir.Text());
    data.SetDefaultTypes();
    data.ExtendTypes();
    data.SetCompanyNames(35, {"(株)A"});
    EXPECT_EQ(data.SetTypeName(35, "外注"), 1);
    EXPECT_EQ(data.TypeName(35), "外注");
    std::vector<std::string> companies;
    EXPECT_EQ(data.GetCompanyNames(35, companies), 1);
    EXPECT_EQ(companies, std::vector<std::string>{"(株)A"});

    CFMBSyameiData empty(m_dir.Text());
    empty.SetTypeName(2, "C");
    EXPECT_EQ(Names(empty), (std::vector<std::string>{"NoData", "NoData", "C"}));
}

TEST_F(CFMBSyameiDataTest, DefaultsKeepCompaniesAndDropSlotsBeyondSix) {
    CFMBSyameiData data(m_dir.Text());
    data.SetTypeName(0, "old");
    data.SetCompanyNames(0, {"kept"});
    data.SetTypeName(20, "dropped");
    EXPECT_EQ(data.SetDefaultTypes(), 12);
    EXPECT_EQ(data.TypeName(0), "請求書");
    std::vector<std::string> companies;
    data.GetCompanyNames(0, companies);
    EXPECT_EQ(companies, std::vector<std::string>{"kept"});
    // Only a store of exactly twelve slots is extended.
    data.SetTypeName(12, "13th");
    EXPECT_EQ(data.ExtendTypes(), 13);
}

TEST_F(CFMBSyameiDataTest, AssignmentIsDeep) {
    CFMBSyameiData original(m_dir.Text());
    original.SetDefaultTypes();
    original.SetCompanyNames(0, {"x"});
    CFMBSyameiData copy(m_dir.Child("elsewhere"));
    copy = original;
    copy.SetCompanyNames(0, {"y", "z"});
    copy.SetTypeName(0, "renamed");
    EXPECT_EQ(original.TypeName(0), "請求書");
    std::vector<std::string> companies;
    original.GetCompanyNames(0, companies);
    EXPECT_EQ(companies, std::vector<std::string>{"x"});
    // The copy writes where the original does.
    EXPECT_EQ(copy.IniPath(), original.IniPath());
}

TEST_F(CFMBSyameiDataTest, AFailedWriteIsReported) {
    CFMBSyameiData data(m_dir.Child("missing"));
    data.SetDefaultTypes();
    EXPECT_EQ(data.WriteIni(), SaveResult::WriteFailed);

    CFMBSyameiData unrepresentable(m_dir.Text());
    unrepresentable.SetDefaultTypes();
    unrepresentable.SetCompanyNames(0, {"Café ©"});
    unrepresentable.SetCompanyNames(1, {"Ångström"});
    EXPECT_EQ(unrepresentable.WriteIni(), SaveResult::UnrepresentableText);
    EXPECT_FALSE(std::filesystem::exists(IniPath()));
}

} // namespace
} // namespace fmb
