#include "platform/SearchFold.h"

#include <gtest/gtest.h>

#include <string>

namespace fmb {
namespace {

struct FoldCase {
    const char* a;
    const char* b;
};

// Each pair reads the same to a Japanese user and must fold to the same text.
TEST(SearchFoldTest, FoldsWhatJapaneseUsersTakeForTheSameText) {
    const FoldCase cases[] = {
        {"ＡＢＣ", "abc"},  {"ABC", "abc"},
        {"ｱｲｳ", "アイウ"},  {"ﾃｽﾄ", "テスト"},
        {"ｶﾞｽ", "ガス"},    {"ﾊﾟﾝ", "パン"},
        {"１２３", "123"},  {"㈱サンプル", "(株)サンプル"},
        {"（株）", "(株)"}, {"㈲", "(有)"},
        {"㈹", "(代)"},     {"㈳", "(社)"},
        {"㈶", "(財)"},     {"㊑", "(株)"},
        {"㊒", "(有)"},     {"㊖", "(財)"},
        {"㍿", "株式会社"}, {"Ｔｏｋｙｏ", "tokyo"},
    };
    for (const FoldCase& c : cases) {
        EXPECT_EQ(FoldForSearch(c.a), FoldForSearch(c.b)) << c.a << " / " << c.b;
    }
}

TEST(SearchFoldTest, KeepsWhatDiffers) {
    EXPECT_NE(FoldForSearch("(株)"), FoldForSearch("(有)"));
    EXPECT_NE(FoldForSearch("テスト"), FoldForSearch("てすと"));
    EXPECT_EQ(FoldForSearch("国税商事"), "国税商事");
    EXPECT_EQ(FoldForSearch(""), "");
    // A byte that is not UTF-8 does not stop the rest from being folded.
    EXPECT_NE(FoldForSearch("\xff"
                            "ABC")
                  .find("abc"),
              std::string::npos);
}

} // namespace
} // namespace fmb
