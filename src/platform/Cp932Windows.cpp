#include "platform/Cp932Converter.h"

#include <windows.h>

namespace fmb::cp932::converter {
namespace {

constexpr UINT kCodePage = 932;

// The UTF-16 form of valid CP932 bytes; false, leaving utf16 as it was, when some are not valid.
bool AppendStrict(std::string_view bytes, std::u16string& utf16) {
    const int size = static_cast<int>(bytes.size());
    wchar_t wide[2];
    std::wstring longer;
    wchar_t* target = wide;
    if (bytes.size() > 2) {
        longer.resize(bytes.size());
        target = longer.data();
    }
    const int units = MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, bytes.data(), size,
                                          target, bytes.size() > 2 ? size : 2);
    if (units <= 0) {
        return false;
    }
    utf16.append(reinterpret_cast<const char16_t*>(target), static_cast<std::size_t>(units));
    return true;
}

} // namespace

bool EncodeCodePoint(char32_t cp, std::string& out) {
    if (cp == 0xFFFD) {
        return false;
    }
    wchar_t units[2];
    int count = 0;
    if (cp <= 0xFFFF) {
        units[count++] = static_cast<wchar_t>(cp);
    } else {
        units[count++] = static_cast<wchar_t>(0xD7C0 + (cp >> 10));
        units[count++] = static_cast<wchar_t>(0xDC00 | (cp & 0x3FF));
    }
    // WC_NO_BEST_FIT_CHARS: a character without a form of its own is not given a look-alike's;
    // the default character stands in and usedDefault tells.
    char buffer[8];
    BOOL usedDefault = FALSE;
    const int written = WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, units, count, buffer,
                                            sizeof buffer, nullptr, &usedDefault);
    if (written <= 0 || usedDefault) {
        return false;
    }
    out.append(buffer, static_cast<std::size_t>(written));
    return true;
}

bool DecodeRun(std::string_view run, std::u16string& utf16) {
    utf16.clear();
    if (AppendStrict(run, utf16)) {
        return true;
    }
    // Character by character, so that each invalid one becomes U+FFFD rather than the code
    // page's own stand-in (a katakana middle dot).
    for (std::size_t i = 0; i < run.size();) {
        const bool paired = IsLeadByte(static_cast<unsigned char>(run[i])) && i + 1 < run.size() &&
                            IsTrailByte(static_cast<unsigned char>(run[i + 1]));
        const std::size_t length = paired ? 2 : 1;
        if (!AppendStrict(run.substr(i, length), utf16)) {
            utf16.push_back(u'\uFFFD');
        }
        i += length;
    }
    return false;
}

} // namespace fmb::cp932::converter
