#include "proposal/Proposals.h"
#include "proposal/RegistrationStore.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace fmb {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

constexpr const char* kInvoice = "請求書\n"
                                 "株式会社自社 御中\n"
                                 "請求日 2023年3月31日\n"
                                 "お支払期限 2023年4月30日\n"
                                 "ご請求金額 ¥110,000-\n"
                                 "小計 100,000 消費税 10,000\n"
                                 "㈱国税商事\n"
                                 "登録番号 T7000012050002\n";

TEST(ProposalsTest, ReadsEveryFieldAndPrintsThemBestFirst) {
    const FieldProposals proposals = ProposeFields(kInvoice, {"請求書", {}}, nullptr);
    EXPECT_EQ(ProposalLines(proposals), "date 20230331\n"
                                        "date 20230430\n"
                                        "amount 110000\n"
                                        "amount 100000\n"
                                        "amount 10000\n"
                                        "company (株)国税商事\n"
                                        "company 株式会社自社\n"
                                        "registration T7000012050002\n");
    EXPECT_TRUE(HasDateAndAmount(proposals));
}

TEST(ProposalsTest, NothingFoundIsNoLines) {
    const FieldProposals proposals = ProposeFields("ただの文章です。", {}, nullptr);
    EXPECT_EQ(ProposalLines(proposals), "");
    EXPECT_FALSE(HasDateAndAmount(proposals));
}

TEST(ProposalsTest, OnlyATransactionDateAndATotalMakeTheTextEnough) {
    const struct {
        const char* text;
        bool enough;
    } cases[] = {
        {"請求日 2023/03/31\n合計 110,000円", true},
        {"2023/03/31\n¥110,000", true},
        {"請求日 2023/03/31", false},
        {"合計 110,000円", false},
        // What is left when a writer dropped the issue date or the total from the text layer.
        {"発行日\nお支払期限 2023/04/30\n合計 110,000円", false},
        {"請求日 2023/03/31\n合計\n消費税 10,000円", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HasDateAndAmount(ProposeFields(c.text, {}, nullptr)), c.enough) << c.text;
}

TEST(ProposalsTest, AnIssuedTypeProposesTheAddressee) {
    const FieldProposals proposals = ProposeFields(kInvoice, {"請求書(控)", {}}, nullptr);
    ASSERT_FALSE(proposals.companies.empty());
    EXPECT_EQ(proposals.companies.front().value, "株式会社自社");
}

TEST(RegistrationStoreTest, RemembersTheCompanyInAFileBesideTheIniFiles) {
    const TempDir dir;
    const RegistrationStore store(dir.Text(true));
    EXPECT_EQ(store.CompanyOf("T7000012050002"), std::nullopt);
    EXPECT_TRUE(store.Remember("T7000012050002", "国税商事(株)"));
    EXPECT_TRUE(store.Remember("T9234567890123", "まるや"));
    EXPECT_TRUE(store.Remember("T7000012050002", "国税商事"));
    // Code page 932 with CR LF, like the other INI files.
    EXPECT_EQ(ReadBytes(dir.Path() / "FMB_Touroku.ini"),
              "[TOUROKU]\r\n"
              "T7000012050002=\x8D\x91\x90\xC5\x8F\xA4\x8E\x96\r\n"
              "T9234567890123=\x82\xDC\x82\xE9\x82\xE2\r\n");
    EXPECT_EQ(RegistrationStore(dir.Text(true)).CompanyOf("T7000012050002"), "国税商事");

    // The next document with the number proposes the company first.
    const FieldProposals proposals = ProposeFields(kInvoice, {"請求書", {}}, &store);
    ASSERT_FALSE(proposals.companies.empty());
    EXPECT_EQ(proposals.companies.front().value, "国税商事");
}

TEST(RegistrationStoreTest, RefusesWhatItCannotKeepAndLeavesTheFileAsItWas) {
    const TempDir dir;
    const RegistrationStore store(dir.Text(true));
    ASSERT_TRUE(store.Remember("T7000012050002", "まるや"));
    const std::string before = ReadBytes(dir.Path() / "FMB_Touroku.ini");
    EXPECT_FALSE(store.Remember("T1234567890123", "まるや")); // wrong check digit
    EXPECT_FALSE(store.Remember("T7000012050002", ""));
    EXPECT_FALSE(store.Remember("T7000012050002", "まるや🍙")); // not in code page 932
    EXPECT_EQ(ReadBytes(dir.Path() / "FMB_Touroku.ini"), before);
    EXPECT_EQ(store.CompanyOf("T7000012050002"), "まるや");
}

TEST(RegistrationStoreTest, AFailedWriteIsReported) {
    const TempDir dir;
    // The settings "folder" is a file: nothing can be written inside it.
    WriteBytes(dir.Path() / "file", "x");
    const RegistrationStore store(dir.Child("file") + "/");
    EXPECT_FALSE(store.Remember("T7000012050002", "まるや"));
    EXPECT_EQ(store.CompanyOf("T7000012050002"), std::nullopt);
}

} // namespace
} // namespace fmb
