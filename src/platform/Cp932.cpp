#include "platform/Cp932.h"

#include <unicode/ucnv.h>
#include <unicode/ustring.h>
#include <unicode/utf8.h>

#include <memory>
#include <stdexcept>

namespace fmb::cp932 {
namespace {

struct ConverterCloser {
    void operator()(UConverter* c) const { ucnv_close(c); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterCloser>;

// One converter per thread: opening a converter costs far more than a conversion.
UConverter* Converter() {
    thread_local ConverterPtr converter = [] {
        UErrorCode status = U_ZERO_ERROR;
        ConverterPtr c(ucnv_open("windows-31j", &status));
        if (U_FAILURE(status)) {
            throw std::runtime_error("the CP932 converter (windows-31j) is not available");
        }
        return c;
    }();
    return converter.get();
}

bool IsAscii(std::string_view text) {
    for (unsigned char c : text) {
        if (c >= 0x80) {
            return false;
        }
    }
    return true;
}

std::u16string ToUtf16(std::string_view utf8) {
    std::u16string out(utf8.size(), u'\0');
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strFromUTF8WithSub(reinterpret_cast<UChar*>(out.data()), static_cast<int32_t>(out.size()),
                         &length, utf8.data(), static_cast<int32_t>(utf8.size()), 0xFFFD, nullptr,
                         &status);
    out.resize(U_SUCCESS(status) ? static_cast<std::size_t>(length) : 0);
    return out;
}

// Encodes one code point; returns false when CP932 has no form for it.
bool EncodeCodePoint(char32_t cp, std::string& out) {
    UChar units[2];
    int32_t count = 0;
    if (cp <= 0xFFFF) {
        units[count++] = static_cast<UChar>(cp);
    } else {
        units[count++] = static_cast<UChar>(0xD7C0 + (cp >> 10));
        units[count++] = static_cast<UChar>(0xDC00 | (cp & 0x3FF));
    }
    UConverter* cnv = Converter();
    ucnv_resetFromUnicode(cnv);
    UErrorCode status = U_ZERO_ERROR;
    ucnv_setFromUCallBack(cnv, UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    char buffer[8];
    status = U_ZERO_ERROR;
    const int32_t written = ucnv_fromUChars(cnv, buffer, sizeof buffer, units, count, &status);
    if (U_FAILURE(status) || cp == 0xFFFD) {
        return false;
    }
    out.append(buffer, static_cast<std::size_t>(written));
    return true;
}

// Calls visit(codePoint, utf8Bytes) for every character of a UTF-8 text; invalid sequences are
// passed as U+FFFD.
template <typename Visit> void ForEachCodePoint(std::string_view utf8, Visit visit) {
    const auto* s = reinterpret_cast<const uint8_t*>(utf8.data());
    const auto length = static_cast<int32_t>(utf8.size());
    int32_t i = 0;
    while (i < length) {
        const int32_t start = i;
        UChar32 cp = 0;
        U8_NEXT(s, i, length, cp);
        if (cp < 0) {
            cp = 0xFFFD;
        }
        if (!visit(static_cast<char32_t>(cp),
                   utf8.substr(static_cast<std::size_t>(start),
                               static_cast<std::size_t>(i - start)))) {
            return;
        }
    }
}

} // namespace

Encoded Encode(std::string_view utf8) {
    Encoded result;
    if (IsAscii(utf8)) {
        result.bytes.assign(utf8);
        return result;
    }
    const std::u16string utf16 = ToUtf16(utf8);
    UConverter* cnv = Converter();
    ucnv_resetFromUnicode(cnv);
    UErrorCode status = U_ZERO_ERROR;
    ucnv_setFromUCallBack(cnv, UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    result.bytes.resize(utf16.size() * 2 + 1);
    status = U_ZERO_ERROR;
    const int32_t written =
        ucnv_fromUChars(cnv, result.bytes.data(), static_cast<int32_t>(result.bytes.size()),
                        reinterpret_cast<const UChar*>(utf16.data()),
                        static_cast<int32_t>(utf16.size()), &status);
    if (U_SUCCESS(status) && utf8.find("\xEF\xBF\xBD") == std::string_view::npos) {
        result.bytes.resize(static_cast<std::size_t>(written));
        return result;
    }
    // Some character has no CP932 form: go character by character to name each one.
    result.bytes.clear();
    ForEachCodePoint(utf8, [&](char32_t cp, std::string_view) {
        if (cp < 0x80) {
            result.bytes.push_back(static_cast<char>(cp));
        } else if (!EncodeCodePoint(cp, result.bytes)) {
            result.bytes.push_back('?');
            result.unrepresentable.push_back(cp);
        }
        return true;
    });
    return result;
}

namespace {

// Converts CP932 bytes to UTF-16 with the given callback; false when the callback stopped it.
bool ToUtf16FromCp932(std::string_view cp932, UConverterToUCallback callback,
                      std::u16string& utf16) {
    UConverter* cnv = Converter();
    ucnv_resetToUnicode(cnv);
    UErrorCode status = U_ZERO_ERROR;
    ucnv_setToUCallBack(cnv, callback, nullptr, nullptr, nullptr, &status);
    utf16.assign(cp932.size() + 1, u'\0');
    status = U_ZERO_ERROR;
    const int32_t units = ucnv_toUChars(cnv, reinterpret_cast<UChar*>(utf16.data()),
                                        static_cast<int32_t>(utf16.size()), cp932.data(),
                                        static_cast<int32_t>(cp932.size()), &status);
    if (U_FAILURE(status)) {
        utf16.clear();
        return false;
    }
    utf16.resize(static_cast<std::size_t>(units));
    return true;
}

} // namespace

Decoded Decode(std::string_view cp932) {
    Decoded result;
    if (IsAscii(cp932)) {
        result.utf8.assign(cp932);
        return result;
    }
    std::u16string utf16;
    if (!ToUtf16FromCp932(cp932, UCNV_TO_U_CALLBACK_STOP, utf16)) {
        result.ok = false;
        ToUtf16FromCp932(cp932, UCNV_TO_U_CALLBACK_SUBSTITUTE, utf16);
    }
    result.utf8.resize(utf16.size() * 3);
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strToUTF8WithSub(result.utf8.data(), static_cast<int32_t>(result.utf8.size()), &length,
                       reinterpret_cast<const UChar*>(utf16.data()),
                       static_cast<int32_t>(utf16.size()), 0xFFFD, nullptr, &status);
    result.utf8.resize(U_SUCCESS(status) ? static_cast<std::size_t>(length) : 0);
    return result;
}

bool IsRepresentable(std::string_view utf8) { return Encode(utf8).Ok(); }

std::size_t ByteLength(std::string_view utf8) {
    if (IsAscii(utf8)) {
        return utf8.size();
    }
    return Encode(utf8).bytes.size();
}

std::string CutToBytes(std::string_view utf8, std::size_t maxBytes) {
    if (IsAscii(utf8)) {
        return std::string(utf8.substr(0, maxBytes));
    }
    std::string kept;
    std::size_t used = 0;
    ForEachCodePoint(utf8, [&](char32_t cp, std::string_view bytes) {
        std::string encoded;
        const std::size_t size =
            cp < 0x80 ? 1 : (EncodeCodePoint(cp, encoded) ? encoded.size() : 1);
        if (used + size > maxBytes) {
            return false;
        }
        used += size;
        kept.append(bytes);
        return true;
    });
    return kept;
}

} // namespace fmb::cp932
