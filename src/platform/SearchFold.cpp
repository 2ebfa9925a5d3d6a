#include "platform/SearchFold.h"

#include <unicode/unorm2.h>
#include <unicode/ustring.h>
#include <unicode/utf8.h>

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

// The UTF-16 form of utf8 with the circled company forms spelled with parentheses.
std::u16string ToUtf16WithCompanyForms(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size() + 4);
    const auto* s = reinterpret_cast<const std::uint8_t*>(utf8.data());
    const auto length = static_cast<std::int32_t>(utf8.size());
    for (std::int32_t i = 0; i < length;) {
        UChar32 cp = 0;
        U8_NEXT(s, i, length, cp);
        if (cp < 0) {
            cp = 0xFFFD;
        }
        bool replaced = false;
        for (const EnclosedForm& form : kCircledCompanyForms) {
            if (static_cast<char32_t>(cp) == form.circled) {
                out.append({u'(', form.ideograph, u')'});
                replaced = true;
                break;
            }
        }
        if (!replaced) {
            if (cp <= 0xFFFF) {
                out.push_back(static_cast<char16_t>(cp));
            } else {
                out.push_back(static_cast<char16_t>(0xD7C0 + (cp >> 10)));
                out.push_back(static_cast<char16_t>(0xDC00 | (cp & 0x3FF)));
            }
        }
    }
    return out;
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

bool IsAscii(std::string_view text) {
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

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
    const std::u16string source = ToUtf16WithCompanyForms(utf8);
    UErrorCode status = U_ZERO_ERROR;
    // Compatibility normalisation and case folding in one step (NFKC_Casefold).
    const UNormalizer2* normalizer = unorm2_getNFKCCasefoldInstance(&status);
    if (U_FAILURE(status)) {
        return std::string(utf8);
    }
    std::u16string folded(source.size() * 2 + 8, u'\0');
    const auto run = [&] {
        status = U_ZERO_ERROR;
        return unorm2_normalize(normalizer, reinterpret_cast<const UChar*>(source.data()),
                                static_cast<std::int32_t>(source.size()),
                                reinterpret_cast<UChar*>(folded.data()),
                                static_cast<std::int32_t>(folded.size()), &status);
    };
    std::int32_t length = run();
    if (status == U_BUFFER_OVERFLOW_ERROR) {
        folded.resize(static_cast<std::size_t>(length));
        length = run();
    }
    if (U_FAILURE(status)) {
        return std::string(utf8);
    }
    folded.resize(static_cast<std::size_t>(length));
    return ToUtf8(folded);
}

} // namespace fmb
