#include "platform/Cp932.h"

#include <gtest/gtest.h>

namespace fmb::cp932 {
namespace {

TEST(Cp932, EncodesJapaneseToMicrosoftBytes) {
    // 請求書(控) in code page 932.
    EXPECT_EQ(Encode("請求書(控)").bytes, "\x90\xBF\x8B\x81\x8F\x91\x28\x8D\x54\x29");
    // Characters of the Microsoft mapping: NEC specials and the full-width tilde.
    EXPECT_EQ(Encode("①～").bytes, "\x87\x40\x81\x60");
    EXPECT_EQ(Encode("ｸﾘｱ").bytes, "\xB8\xD8\xB1");
    EXPECT_EQ(Encode("a\\b~").bytes, "a\\b~");
}

TEST(Cp932, WritesTheJisLookAlikesWithTheMicrosoftBytes) {
    // Input methods type 〜 (U+301C) and − (U+2212) where Windows has ～ and －.
    const Encoded encoded = Encode("4月〜6月−‖—¢£¬¦");
    EXPECT_TRUE(encoded.Ok());
    EXPECT_EQ(encoded.bytes, "4\x8C\x8E\x81\x60"
                             "6\x8C\x8E\x81\x7C\x81\x61\x81\x5C"
                             "\x81\x91\x81\x92\x81\xCA\xFA\x55");
    EXPECT_EQ(ByteLength("〜"), 2u);
    EXPECT_EQ(CutToBytes("〜〜", 3), "〜");
}

TEST(Cp932, ReportsCharactersItCannotHold) {
    const Encoded encoded = Encode("A😀B€");
    EXPECT_FALSE(encoded.Ok());
    EXPECT_EQ(encoded.unrepresentable, (std::vector<char32_t>{U'\U0001F600', U'€'}));
    EXPECT_EQ(encoded.bytes, "A?B?");
    EXPECT_TRUE(IsRepresentable("〇〇商事(株)"));
    EXPECT_EQ(FirstUnrepresentable("A〜B€C😀"), "€");
    EXPECT_EQ(FirstUnrepresentable("A\xE3\x81"), "\xEF\xBF\xBD");
    EXPECT_EQ(FirstUnrepresentable("請求書"), "");
    EXPECT_FALSE(IsRepresentable("Ä"));
}

TEST(Cp932, KeepsAsciiAsItIsAndNeverDropsACharacterSilently) {
    // Control characters stay themselves next to Japanese text too, as in Windows' code page.
    EXPECT_EQ(Encode("\x1A\x1C\x7F請").bytes, "\x1A\x1C\x7F\x90\xBF");
    // A byte-order mark or malformed UTF-8 has no form: it becomes '?' and is reported.
    const Encoded bom = Encode("\xEF\xBB\xBFx");
    EXPECT_EQ(bom.bytes, "?x");
    EXPECT_EQ(bom.unrepresentable, (std::vector<char32_t>{U'\uFEFF'}));
    const Encoded malformed = Encode("あ\xE3\x81");
    EXPECT_EQ(malformed.bytes, "\x82\xA0?");
    EXPECT_FALSE(malformed.Ok());
    // Encoding the same characters again gives the same bytes.
    EXPECT_EQ(Encode("請求書é請求書é").bytes, "\x90\xBF\x8B\x81\x8F\x91?\x90\xBF\x8B\x81\x8F\x91?");
}

TEST(Cp932, DecodesAndFlagsInvalidBytes) {
    const Decoded good = Decode("\x90\xBF\x8B\x81\x8F\x91\x28\x8D\x54\x29");
    EXPECT_TRUE(good.ok);
    EXPECT_EQ(good.utf8, "請求書(控)");
    // A lead byte without its trail byte.
    const Decoded bad = Decode("A\x90");
    EXPECT_FALSE(bad.ok);
    EXPECT_EQ(bad.utf8, "A\xEF\xBF\xBD");
}

TEST(Cp932, DecodesBytesBelow0x80AsThemselvesBesideJapaneseText) {
    // Every byte below 0x80, alone and next to double-byte characters, half-width katakana and
    // trail bytes that lie below 0x80 (表 = 95 5C, ソ = 83 5C).
    std::string ascii;
    for (int c = 1; c < 0x80; ++c) {
        ascii.push_back(static_cast<char>(c));
    }
    const struct {
        const char* before;
        const char* after;
        const char* beforeUtf8;
        const char* afterUtf8;
    } cases[] = {
        {"", "", "", ""},
        {"\x82\xB5", "", "し", ""},
        {"", "\x95\x5C", "", "表"},
        {"\xB8", "\x83\x5C", "ｸ", "ソ"},
    };
    for (const auto& c : cases) {
        const Decoded decoded = Decode(std::string(c.before) + ascii + c.after);
        EXPECT_TRUE(decoded.ok) << c.beforeUtf8 << c.afterUtf8;
        EXPECT_EQ(decoded.utf8, std::string(c.beforeUtf8) + ascii + c.afterUtf8);
        EXPECT_EQ(Encode(decoded.utf8).bytes, std::string(c.before) + ascii + c.after);
    }
    // What an INI value of the company editor holds: し and a control character.
    EXPECT_EQ(Decode("\x82\xB5\x1C\x1A\x7F").utf8, "し\x1C\x1A\x7F");
    // A lead byte whose next byte cannot be a trail byte is invalid alone; the next byte stays.
    const Decoded lone = Decode("\x82\x1A");
    EXPECT_FALSE(lone.ok);
    EXPECT_EQ(lone.utf8, "\xEF\xBF\xBD\x1A");
}

TEST(Cp932, CountsAndCutsBytesWithoutSplittingCharacters) {
    EXPECT_EQ(ByteLength("12,345"), 6u);
    EXPECT_EQ(ByteLength("１２３"), 6u);
    EXPECT_EQ(ByteLength("ｸﾘｱ"), 3u);
    EXPECT_EQ(CutToBytes("1234567890123456", 14), "12345678901234");
    EXPECT_EQ(CutToBytes("１２３４５６７８", 7), "１２３");
    EXPECT_EQ(CutToBytes("12１２", 5), "12１");
    EXPECT_EQ(CutToBytes("abc", 14), "abc");
}

} // namespace
} // namespace fmb::cp932
