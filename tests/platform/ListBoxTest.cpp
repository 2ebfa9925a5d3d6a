// The sorted list box: Japanese order with letter case ignored, whatever the order of insertion.
#include "platform/ListBox.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace fmb {
namespace {

QStringList Q(const std::vector<std::string>& texts) {
    QStringList list;
    for (const std::string& text : texts)
        list << QString::fromStdString(text);
    return list;
}

TEST(ListBox, SortedListKeepsJapaneseOrderIgnoringCase) {
    struct Case {
        std::vector<std::string> added;
        std::vector<std::string> shown;
    };
    const Case cases[] = {
        // Letters before kana; "a" and "A" side by side, hiragana before katakana.
        {{"b", "A", "あ", "ア", "a"}, {"A", "a", "b", "あ", "ア"}},
        // Case is ignored: code-point order would put "Beta" and "Zeta" before "alpha".
        {{"zeta", "Beta", "alpha", "Zeta"}, {"alpha", "Beta", "Zeta", "zeta"}},
        // Kana in gojūon order, katakana and hiragana of one reading together.
        {{"さくら商事", "アオバ", "かもめ", "あおば商店", "カモメ"},
         {"アオバ", "あおば商店", "かもめ", "カモメ", "さくら商事"}},
        // Identical names are both kept, side by side; an empty name comes first.
        {{"東京", "", "東京"}, {"", "東京", "東京"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> order = c.added;
        std::sort(order.begin(), order.end());
        do { // every order of insertion gives the same list
            ListBox list(true);
            for (const std::string& text : order)
                list.AddString(text);
            ASSERT_EQ(list.Texts(), Q(c.shown)) << testing::PrintToString(order);
        } while (std::next_permutation(order.begin(), order.end()));
    }
}

TEST(ListBox, AddStringReturnsTheRowItWentTo) {
    ListBox list(true);
    EXPECT_EQ(list.AddString("m"), 0);
    EXPECT_EQ(list.AddString(std::string("z")), 1);
    EXPECT_EQ(list.AddString(QStringLiteral("A")), 0);
    EXPECT_EQ(list.item(2)->text(), QStringLiteral("z"));
}

TEST(ListBox, UnsortedListKeepsTheOrderOfInsertion) {
    ListBox list(false);
    int row = 0;
    for (const char* text : {"b", "A", "あ"})
        EXPECT_EQ(list.AddString(text), row++);
    EXPECT_EQ(list.Texts(), Q({"b", "A", "あ"}));
    EXPECT_EQ(list.selectionMode(), QAbstractItemView::SingleSelection);
}

} // namespace
} // namespace fmb
