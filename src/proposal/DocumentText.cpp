#include "proposal/DocumentText.h"

#include <unicode/normalizer2.h>
#include <unicode/unistr.h>

#include <algorithm>

namespace fmb {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v';
}

// One UTF-8 character of three bytes or more: a CJK character, kana or a symbol.
bool IsSingleWideCharacter(std::string_view word) {
    const auto lead = static_cast<unsigned char>(word.empty() ? 0 : word.front());
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 0;
    return length != 0 && word.size() == length;
}

// OCR output that spaces out the characters of Japanese text: most words are one character.
bool LooksSpacedOut(std::string_view line) {
    const std::vector<std::string_view> words = Words(line);
    const auto single = std::count_if(words.begin(), words.end(), IsSingleWideCharacter);
    return words.size() >= 3 && single * 2 > static_cast<std::ptrdiff_t>(words.size());
}

// A byte of a character of three bytes or more (Japanese text).
bool IsWide(char c) {
    return static_cast<unsigned char>(c) >= 0xE0 || (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

} // namespace

std::vector<std::string_view> Words(std::string_view line) {
    std::vector<std::string_view> words;
    std::size_t begin = 0;
    while (begin < line.size()) {
        const std::size_t end = std::min(line.find(' ', begin), line.size());
        if (end > begin)
            words.push_back(line.substr(begin, end - begin));
        begin = end + 1;
    }
    return words;
}

bool IsAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsAsciiAlnum(char c) {
    return IsAsciiDigit(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

std::string NormalizedText(std::string_view utf8Text) {
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* nfkc = icu::Normalizer2::getNFKCInstance(status);
    const icu::UnicodeString text = icu::UnicodeString::fromUTF8(
        icu::StringPiece(utf8Text.data(), static_cast<int32_t>(utf8Text.size())));
    const icu::UnicodeString normalized = U_SUCCESS(status) ? nfkc->normalize(text, status) : text;
    std::string out;
    (U_SUCCESS(status) ? normalized : text).toUTF8String(out);
    return out;
}

// The line without blanks, except those that `keep` says separate two words.
template <typename KeepBlank> std::string WithoutBlanks(std::string_view line, KeepBlank keep) {
    std::string out;
    out.reserve(line.size());
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] != ' ') {
            out += line[i];
            continue;
        }
        const std::size_t next = line.find_first_not_of(' ', i);
        if (next == std::string_view::npos)
            break;
        if (!out.empty() && keep(out.back(), line[next]))
            out += ' ';
        i = next - 1;
    }
    return out;
}

bool BetweenAsciiWords(char before, char after) {
    return IsAsciiAlnum(before) && IsAsciiAlnum(after);
}

std::string ClosedUp(std::string_view line) {
    // A blank between two ASCII words or numbers, or between two Japanese words (the heads of
    // a table's columns, 小計 消費税 合計), stays.
    return WithoutBlanks(line, [](char before, char after) {
        return BetweenAsciiWords(before, after) || (IsWide(before) && IsWide(after));
    });
}

std::vector<std::string> DocumentLines(std::string_view utf8Text) {
    const std::string text = NormalizedText(utf8Text);
    std::vector<std::string> lines;
    std::size_t begin = 0;
    while (begin <= text.size()) {
        const std::size_t end = std::min(text.find('\n', begin), text.size());
        std::string line;
        for (std::size_t i = begin; i < end; ++i) {
            // NFKC has made the ideographic space an ASCII one.
            const char c = IsBlank(text[i]) ? ' ' : text[i];
            if (c == ' ' && (line.empty() || line.back() == ' '))
                continue;
            line += c;
        }
        while (!line.empty() && line.back() == ' ')
            line.pop_back();
        if (!line.empty())
            lines.push_back(LooksSpacedOut(line) ? WithoutBlanks(line, BetweenAsciiWords)
                                                 : std::move(line));
        begin = end + 1;
    }
    return lines;
}

} // namespace fmb
