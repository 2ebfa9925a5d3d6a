#include "platform/Cp932Converter.h"

#include <unicode/ucnv.h>

#include <algorithm>
#include <memory>
#include <stdexcept>

namespace fmb::cp932::converter {
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

bool DecodeRun(std::string_view run, std::u16string& utf16) {
    if (ToUtf16FromCp932(run, UCNV_TO_U_CALLBACK_STOP, utf16)) {
        return true;
    }
    // The converter stands in U+001A for an invalid single byte; no valid character of a run
    // decodes to it.
    ToUtf16FromCp932(run, UCNV_TO_U_CALLBACK_SUBSTITUTE, utf16);
    std::replace(utf16.begin(), utf16.end(), u'\x1A', u'\uFFFD');
    return false;
}

} // namespace fmb::cp932::converter
