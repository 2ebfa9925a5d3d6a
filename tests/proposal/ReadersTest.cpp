#include "proposal/AmountReader.h"
#include "proposal/CompanyName.h"
#include "proposal/CounterpartyReader.h"
#include "proposal/DateReader.h"
#include "proposal/DocumentText.h"
#include "proposal/RegistrationNumber.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace fmb {
namespace {

struct TextCase {
    const char* text;
    const char* best; // "" when nothing should be found
};

std::string BestOf(const std::vector<Candidate>& candidates) {
    return candidates.empty() ? std::string() : candidates.front().value;
}

std::vector<std::string> Values(const std::vector<Candidate>& candidates) {
    std::vector<std::string> values;
    for (const Candidate& candidate : candidates)
        values.push_back(candidate.value);
    return values;
}

// ---- Text -------------------------------------------------------------------------------------

TEST(DocumentLinesTest, NormalisesWidthRadicalsAndBlanks) {
    // ⽇ and ⽉ are the Kangxi radicals a PDF writer put for 日 and 月.
    EXPECT_EQ(DocumentLines("  請求日：２０２３年３⽉３１⽇ \r\n\n ㈱国税商事\t様 "),
              (std::vector<std::string>{"請求日:2023年3月31日", "(株)国税商事 様"}));
}

TEST(DocumentLinesTest, ClosesUpSpacedOutOcrLinesOnly) {
    EXPECT_EQ(DocumentLines("請 求 書 No 12\n株式会社 国税商事"),
              (std::vector<std::string>{"請求書No 12", "株式会社 国税商事"}));
    EXPECT_EQ(ClosedUp("2023 年 3 月 31 日 ¥ 1,000 円 小計 消費税 No 12"),
              "2023年3月31日¥1,000円 小計 消費税No 12");
}

// ---- Dates ------------------------------------------------------------------------------------

TEST(DateReaderTest, ReadsEveryWritingOfADay) {
    const TextCase cases[] = {
        {"2023年3月31日", "20230331"},
        {"2023/03/31", "20230331"},
        {"2023-03-31", "20230331"},
        {"2023.3.31", "20230331"},
        {"２０２３年０３月３１日", "20230331"},
        {"2023 年 3 月 31 日", "20230331"},
        {"令和5年3月31日", "20230331"},
        {"令和元年5月1日", "20190501"},
        {"R5.3.31", "20230331"},
        {"Ｒ５．３．３１", "20230331"},
        {"H31/4/30", "20190430"},
        {"平成31年4月30日", "20190430"},
        {"昭和64年1月7日", "19890107"},
        {"2024年2月29日", "20240229"},
        // Not a day, or not a date at all.
        {"2023年2月29日", ""},
        {"2023/13/01", ""},
        {"2023/03-31", ""},
        {"TEL 03-1234-5678", ""},
        {"No.20230331", ""},
        {"2023年3月分", ""},
        {"HR5.3.31", ""},
    };
    for (const TextCase& c : cases)
        EXPECT_EQ(BestOf(ReadDates(DocumentLines(c.text))), c.best) << c.text;
}

TEST(DateReaderTest, EraBoundaries) {
    struct EraCase {
        const char* era;
        int year, month, day;
        const char* date; // "" when no such day exists in the era
    };
    const EraCase cases[] = {
        {"令和", 1, 5, 1, "20190501"},
        {"令和", 1, 4, 30, ""},
        {"平成", 31, 4, 30, "20190430"},
        {"平成", 1, 1, 8, "19890108"},
        {"平成", 1, 1, 7, ""},
        {"昭和", 64, 1, 7, "19890107"},
        {"昭和", 1, 12, 25, "19261225"},
        {"大正", 15, 12, 24, "19261224"},
        {"令和", 6, 2, 29, "20240229"},
        {"令和", 5, 2, 29, ""},
        {"令和", 0, 1, 1, ""},
        {"西暦", 5, 1, 1, ""},
        // Forms printed before the change of era went on saying 平成31年 in May 2019.
        {"平成", 31, 5, 1, "20190501"},
    };
    for (const EraCase& c : cases) {
        const auto date = EraDateText(c.era, c.year, c.month, c.day);
        EXPECT_EQ(date.value_or(""), c.date) << c.era << c.year << "." << c.month << "." << c.day;
    }
}

TEST(DateReaderTest, IssueDateBeatsDueDateAndPeriods) {
    const TextCase cases[] = {
        {"お支払期日 2023年4月30日\n発行日 2023年3月31日", "20230331"},
        {"支払期限:2023/04/30 請求日:2023/03/31", "20230331"},
        {"ご利用期間 2023/02/01〜2023/02/28\n2023/03/10", "20230310"},
        // The head of a table names the columns of the line below it.
        {"請求日 支払期限\n2023/03/31 2023/04/30", "20230331"},
        {"支払期限 請求日\n2023/04/30 2023/03/31", "20230331"},
        // Without labels, the first date of the document.
        {"2023年3月31日\n備考 2023年4月5日納品分", "20230331"},
        {"日付 R5.3.31\n有効期限 R6.3.31", "20230331"},
    };
    for (const TextCase& c : cases)
        EXPECT_EQ(BestOf(ReadDates(DocumentLines(c.text))), c.best) << c.text;
}

TEST(DateReaderTest, KeepsTheOtherDatesAsFurtherCandidates) {
    EXPECT_EQ(
        Values(ReadDates(DocumentLines("支払期限 2023/04/30\n請求日 2023/03/31\n2023/03/31"))),
        (std::vector<std::string>{"20230331", "20230430"}));
}

// ---- Amounts ----------------------------------------------------------------------------------

TEST(AmountReaderTest, ReadsMoneyInEveryWriting) {
    const TextCase cases[] = {
        {"合計 110,000円", "110000"},
        {"合計 ¥110,000", "110000"},
        {"合計 ￥１１０，０００－", "110000"},
        {"ご請求金額 ¥110,000-", "110000"},
        {"合計 110000", "110000"},
        {"110,000円", "110000"},
        {"¥980", "980"},
        // Not money.
        {"2023年3月31日", ""},
        {"TEL 03-1234-5678", ""},
        {"〒100-0013", ""},
        {"T9234567890123", ""},
        {"10%対象", ""},
        {"数量 3個", ""},
        {"12345", ""},
        {"合計 ¥0", ""},
    };
    for (const TextCase& c : cases)
        EXPECT_EQ(BestOf(ReadAmounts(DocumentLines(c.text))), c.best) << c.text;
}

TEST(AmountReaderTest, LabelledTotalBeatsItemsSubtotalsAndTax) {
    const TextCase cases[] = {
        {"小計 100,000\n消費税 10,000\n合計 110,000", "110000"},
        {"合計 110,000\n小計 100,000\n消費税(10%) 10,000", "110000"},
        {"小計 100,000 消費税 10,000 合計 110,000", "110000"},
        {"ご請求金額 ¥55,000\n品名 数量 単価 金額\n作業費 1 50,000 50,000\n小計 50,000\n消費税 "
         "5,000",
         "55000"},
        {"税込合計 ¥3,300 (うち消費税 ¥300)", "3300"},
        {"総額 1,234,567円\n内訳 1,000,000円", "1234567"},
        {"領収金額 ¥8,800\nお預り ¥10,000\nお釣り ¥1,200", "8800"},
        // A table head over the line of amounts.
        {"小計 消費税 合計\n100,000 10,000 110,000", "110000"},
        {"ご請求金額\n¥220,000-", "220000"},
        // Payslip: the amount paid out, not the gross or the deductions.
        {"総支給額 300,000\n控除合計 60,000\n差引支給額 240,000", "240000"},
        // Card statement: this month's bill, not last month's.
        {"前回ご請求額 12,000円\n今回ご請求額 34,560円", "34560"},
        // Without labels, the largest sum of money.
        {"¥1,200\n¥5,400\n¥300", "5400"},
    };
    for (const TextCase& c : cases)
        EXPECT_EQ(BestOf(ReadAmounts(DocumentLines(c.text))), c.best) << c.text;
}

// ---- Registration numbers ---------------------------------------------------------------------

TEST(RegistrationNumberTest, VerifiesTheCheckDigit) {
    const struct {
        const char* text;
        bool valid;
    } cases[] = {
        {"T7000012050002", true},   {"T9234567890123", true},  {"T8000000000001", true},
        {"T1234567890123", false},  {"T7000012050003", false}, {"T700001205000", false},
        {"T70000120500021", false}, {"7000012050002", false},  {"t7000012050002", false},
        {"T70000120500O2", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsRegistrationNumber(c.text), c.valid) << c.text;
}

TEST(RegistrationNumberTest, FindsNumbersAsWrittenAndSkipsMisreadOnes) {
    EXPECT_EQ(ReadRegistrationNumbers(DocumentLines("登録番号:Ｔ７０００－０１２０－５０００２\n"
                                                    "T9234 5678 90123 T1234567890123\n"
                                                    "XT8000000000001 T7000012050002")),
              (std::vector<std::string>{"T7000012050002", "T9234567890123"}));
}

// ---- Counterparty -----------------------------------------------------------------------------

TEST(CompanyNameTest, FoldsWidthCaseAndLegalForms) {
    EXPECT_EQ(FoldedCompanyName("㈱ＡＢＣ商事"), FoldedCompanyName("株式会社 abc商事"));
    EXPECT_EQ(FoldedCompanyName("(有)山田"), FoldedCompanyName("有限会社山田"));
    EXPECT_NE(FoldedCompanyName("(株)山田"), FoldedCompanyName("(有)山田"));
}

TEST(CounterpartyReaderTest, IssuerOfAReceivedDocument) {
    const TextCase cases[] = {
        {"請求書\n株式会社サンプル 御中\n国税商事株式会社\n登録番号 T7000012050002",
         "国税商事株式会社"},
        {"(株)自社 御中\n発行元:㈱国税商事", "(株)国税商事"},
        {"領収書\n山田 太郎 様\n上記正に領収いたしました\n株式会社 まるや商店",
         "株式会社まるや商店"},
        {"給与明細書\n鈴木 花子 様\n合同会社ミライ", "合同会社ミライ"},
        {"お客様番号 1234\nABC Trading 株式会社", "ABC Trading株式会社"},
        {"請求書\n山田様", "山田"},
    };
    for (const TextCase& c : cases)
        EXPECT_EQ(BestOf(ReadCounterparties(DocumentLines(c.text), {})), c.best) << c.text;
}

TEST(CounterpartyReaderTest, AddresseeOfAnIssuedDocument) {
    const CounterpartyContext issued{{}, true, {}};
    const TextCase cases[] = {
        {"請求書\n株式会社 国税商事 御中\n株式会社自社", "株式会社国税商事"},
        {"請求書 No.12 ㈱国税商事 御中\n自社合同会社", "(株)国税商事"},
        {"領収書\n山田 太郎 様\n有限会社自社", "山田太郎"},
    };
    for (const TextCase& c : cases)
        EXPECT_EQ(BestOf(ReadCounterparties(DocumentLines(c.text), issued)), c.best) << c.text;
}

TEST(CounterpartyReaderTest, TheTypesCompanyListComesFirstAsTheListSpellsIt) {
    CounterpartyContext received{{"国税商事(株)", "自社(株)", "まるや"}, false, {}};
    const std::vector<std::string> lines =
        DocumentLines("自社株式会社 御中\nまるや商店\n発行元 ㈱ほかの会社\n国税商事株式会社");
    EXPECT_EQ(Values(ReadCounterparties(lines, received)),
              (std::vector<std::string>{"国税商事(株)", "まるや", "(株)ほかの会社",
                                        "国税商事株式会社", "自社(株)", "自社株式会社"}));
    // The list's name with its legal form at the other end is still the list's company.
    EXPECT_EQ(BestOf(ReadCounterparties(DocumentLines("発行元 株式会社国税商事"), received)),
              "国税商事(株)");
    received.rememberedCompanies = {"記憶した会社"};
    EXPECT_EQ(BestOf(ReadCounterparties(lines, received)), "記憶した会社");
}

TEST(CounterpartyReaderTest, IssuedTypesEndInTheCopyMark) {
    EXPECT_TRUE(IsIssuedDocumentType("請求書(控)"));
    EXPECT_TRUE(IsIssuedDocumentType("請求書（控）"));
    EXPECT_FALSE(IsIssuedDocumentType("請求書"));
    EXPECT_FALSE(IsIssuedDocumentType("(控)請求書"));
}

} // namespace
} // namespace fmb
