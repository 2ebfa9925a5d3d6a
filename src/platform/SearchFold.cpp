#include "platform/SearchFold.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unicode/unorm2.h>
#include <unicode/ustring.h>
#endif

#include <cstdint>
#include <optional>
#include <string>

namespace fmb {
namespace {

// Circled company forms, which compatibility normalisation turns into the bare ideograph (㊑
// into 株): they are written as the parenthesised forms (㈱ into (株)) that a company name
// holds. The parenthesised forms and ㍿ need no entry; normalisation spells them out.
struct EnclosedForm {
    char32_t circled;
    char16_t ideograph;
};
constexpr EnclosedForm kCircledCompanyForms[] = {
    {U'㊑', u'株'}, {U'㊒', u'有'}, {U'㊓', u'社'}, {U'㊔', u'名'}, {U'㊕', u'特'}, {U'㊖', u'財'},
    {U'㊘', u'労'}, {U'㊫', u'学'}, {U'㊬', u'監'}, {U'㊭', u'企'}, {U'㊮', u'資'}, {U'㊯', u'協'},
};

// The next code point of utf8 from i on, which moves past it; U+FFFD for a byte that does not
// start a well-formed sequence (that byte alone is passed).
char32_t NextCodePoint(std::string_view utf8, std::size_t& i) {
    const auto byte = [&](std::size_t at) { return static_cast<std::uint8_t>(utf8[at]); };
    const std::uint8_t lead = byte(i);
    const std::size_t length = lead < 0x80           ? 1
                               : (lead >> 5) == 0x6  ? 2
                               : (lead >> 4) == 0xE  ? 3
                               : (lead >> 3) == 0x1E ? 4
                                                     : 0;
    if (length == 0 || i + length > utf8.size()) {
        ++i;
        return 0xFFFD;
    }
    char32_t cp = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) {
            ++i;
            return 0xFFFD;
        }
        cp = cp << 6 | (byte(i + k) & 0x3F);
    }
    i += length;
    const char32_t shortest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < shortest[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        return 0xFFFD;
    }
    return cp;
}

// The UTF-16 form of utf8 with the circled company forms spelled with parentheses.
std::u16string ToUtf16WithCompanyForms(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size() + 4);
    for (std::size_t i = 0; i < utf8.size();) {
        const char32_t cp = NextCodePoint(utf8, i);
        bool replaced = false;
        for (const EnclosedForm& form : kCircledCompanyForms) {
            if (cp == form.circled) {
                out.append({u'(', form.ideograph, u')'});
                replaced = true;
                break;
            }
        }
        if (replaced) {
            continue;
        }
        if (cp <= 0xFFFF) {
            out.push_back(static_cast<char16_t>(cp));
        } else {
            out.push_back(static_cast<char16_t>(0xD7C0 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 | (cp & 0x3FF)));
        }
    }
    return out;
}

bool IsAscii(std::string_view text) {
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

#ifdef _WIN32

// Compatibility normalisation (NFKC), then lower case, as the system's own calls make them.
std::optional<std::u16string> NormaliseAndLower(const std::u16string& text) {
    const auto* source = reinterpret_cast<const wchar_t*>(text.data());
    const int sourceLength = static_cast<int>(text.size());
    int length = NormalizeString(NormalizationKC, source, sourceLength, nullptr, 0);
    std::wstring normal;
    // The first answer is an estimate; a short buffer tells the length it needs.
    for (int attempt = 0; attempt < 4 && length > 0; ++attempt) {
        normal.resize(static_cast<std::size_t>(length));
        length = NormalizeString(NormalizationKC, source, sourceLength, normal.data(), length);
        if (length > 0) {
            normal.resize(static_cast<std::size_t>(length));
            break;
        }
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
            return std::nullopt;
        }
        length = -length;
    }
    if (length <= 0 && !text.empty()) {
        return std::nullopt;
    }
    const int lowerLength =
        LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_LOWERCASE, normal.data(),
                      static_cast<int>(normal.size()), nullptr, 0, nullptr, nullptr, 0);
    std::u16string lower(static_cast<std::size_t>(lowerLength), u'\0');
    if (lowerLength > 0 &&
        LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_LOWERCASE, normal.data(),
                      static_cast<int>(normal.size()), reinterpret_cast<wchar_t*>(lower.data()),
                      lowerLength, nullptr, nullptr, 0) != lowerLength) {
        return std::nullopt;
    }
    return lower;
}

std::string ToUtf8(const std::u16string& utf16) {
    const auto* source = reinterpret_cast<const wchar_t*>(utf16.data());
    const int sourceLength = static_cast<int>(utf16.size());
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, source, sourceLength, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
    if (length > 0) {
        WideCharToMultiByte(CP_UTF8, 0, source, sourceLength, out.data(), length, nullptr, nullptr);
    }
    return out;
}

#else

// Compatibility normalisation and case folding in one step (NFKC_Casefold).
std::optional<std::u16string> NormaliseAndLower(const std::u16string& text) {
    UErrorCode status = U_ZERO_ERROR;
    const UNormalizer2* normalizer = unorm2_getNFKCCasefoldInstance(&status);
    if (U_FAILURE(status)) {
        return std::nullopt;
    }
    std::u16string folded(text.size() * 2 + 8, u'\0');
    const auto run = [&] {
        status = U_ZERO_ERROR;
        return unorm2_normalize(normalizer, reinterpret_cast<const UChar*>(text.data()),
                                static_cast<std::int32_t>(text.size()),
                                reinterpret_cast<UChar*>(folded.data()),
                                static_cast<std::int32_t>(folded.size()), &status);
    };
    std::int32_t length = run();
    if (status == U_BUFFER_OVERFLOW_ERROR) {
        folded.resize(static_cast<std::size_t>(length));
        length = run();
    }
    if (U_FAILURE(status)) {
        return std::nullopt;
    }
    folded.resize(static_cast<std::size_t>(length));
    return folded;
}

std::string ToUtf8(const std::u16string& utf16) {
    std::string out(utf16.size() * 3, '\0');
    std::int32_t written = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strToUTF8WithSub(out.data(), static_cast<std::int32_t>(out.size()), &written,
                       reinterpret_cast<const UChar*>(utf16.data()),
                       static_cast<std::int32_t>(utf16.size()), 0xFFFD, nullptr, &status);
    out.resize(U_SUCCESS(status) ? static_cast<std::size_t>(written) : 0);
    return out;
}

#endif

} // namespace

std::string FoldForSearch(std::string_view utf8) {
    // Plain ASCII only changes its letter case; most dates, amounts and Latin names take this way.
    if (IsAscii(utf8)) {
        std::string folded(utf8);
        for (char& c : folded) {
            if (c >= 'A' && c <= 'Z') {
                c = static_cast<char>(c - 'A' + 'a');
            }
        }
        return folded;
    }
    const std::optional<std::u16string> folded = NormaliseAndLower(ToUtf16WithCompanyForms(utf8));
    return folded ? ToUtf8(*folded) : std::string(utf8);
}

} // namespace fmb
