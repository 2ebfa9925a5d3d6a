#include "platform/Cp932.h"

#include "platform/Cp932Converter.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <utility>

namespace fmb::cp932 {
namespace {

bool IsAscii(std::string_view text) {
    for (unsigned char c : text) {
        if (c >= 0x80) {
            return false;
        }
    }
    return true;
}

using converter::EncodeCodePoint;

// Reads the character of UTF-8 at index i and moves i past it. A malformed sequence reads as
// U+FFFD and is passed over as far as it went right (its lead byte and the continuation bytes
// that fit it), as Unicode recommends.
char32_t NextCodePoint(std::string_view utf8, std::size_t& i) {
    const auto lead = static_cast<unsigned char>(utf8[i++]);
    if (lead < 0x80) {
        return lead;
    }
    int continuations = 0;
    char32_t cp = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        continuations = 1;
        cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        continuations = 2;
        cp = lead & 0x0F;
        low = lead == 0xE0 ? 0xA0 : low;   // no overlong forms
        high = lead == 0xED ? 0x9F : high; // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        continuations = 3;
        cp = lead & 0x07;
        low = lead == 0xF0 ? 0x90 : low;
        high = lead == 0xF4 ? 0x8F : high; // nothing beyond U+10FFFF
    } else {
        return 0xFFFD;
    }
    for (int k = 0; k < continuations; ++k) {
        if (i == utf8.size()) {
            return 0xFFFD;
        }
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c < low || c > high) {
            return 0xFFFD;
        }
        low = 0x80;
        high = 0xBF;
        cp = cp << 6 | (c & 0x3F);
        ++i;
    }
    return cp;
}

void AppendUtf8(char32_t cp, std::string& out) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

// Calls visit(codePoint, utf8Bytes) for every character of a UTF-8 text; invalid sequences are
// passed as U+FFFD.
template <typename Visit> void ForEachCodePoint(std::string_view utf8, Visit visit) {
    std::size_t i = 0;
    while (i < utf8.size()) {
        const std::size_t start = i;
        const char32_t cp = NextCodePoint(utf8, i);
        if (!visit(cp, utf8.substr(start, i - start))) {
            return;
        }
    }
}

// The CP932 form of each BMP character, filled in through the converter the first time the
// character is met: a call into the converter costs far more than a look-up, and a book of
// thousands of names uses only a few hundred distinct characters. A value below 0x100 is a
// one-byte form, above it a two-byte form; 0 is not yet known (no character from U+0080 on
// has the form 0) and 0xFFFF is no form (0xFF is never a second byte).
constexpr std::uint16_t kUnknown = 0;
constexpr std::uint16_t kNoForm = 0xFFFF;

std::uint16_t* Table() {
    thread_local std::unique_ptr<std::uint16_t[]> table(new std::uint16_t[0x10000]());
    return table.get();
}

// Characters that Japanese input methods and the JIS mapping of Shift_JIS produce where the
// Microsoft mapping has a look-alike of its own: 〜 for ～, − for －, ‖ for ∥, — for ―, and the
// narrow ¢ £ ¬ ¦ for their full-width forms. Each is written with the look-alike's bytes, as
// Windows itself reads such text, instead of being refused.
char32_t MicrosoftLookAlike(char32_t cp) {
    static constexpr std::pair<char32_t, char32_t> kLookAlikes[] = {
        {U'\u301C', U'\uFF5E'}, {U'\u2212', U'\uFF0D'}, {U'\u2016', U'\u2225'},
        {U'\u2014', U'\u2015'}, {U'\u00A2', U'\uFFE0'}, {U'\u00A3', U'\uFFE1'},
        {U'\u00AC', U'\uFFE2'}, {U'\u00A6', U'\uFFE4'},
    };
    for (const auto& [typed, microsoft] : kLookAlikes) {
        if (cp == typed) {
            return microsoft;
        }
    }
    return cp;
}

std::uint16_t FormOf(std::uint16_t* table, char32_t cp) {
    std::uint16_t& form = table[cp];
    if (form == kUnknown) {
        std::string bytes;
        const bool encoded =
            EncodeCodePoint(cp, bytes) || EncodeCodePoint(MicrosoftLookAlike(cp), bytes);
        if (!encoded || bytes.empty() || bytes.size() > 2) {
            form = kNoForm;
        } else {
            form = static_cast<std::uint8_t>(bytes[0]);
            if (bytes.size() == 2) {
                form = static_cast<std::uint16_t>(form << 8 | static_cast<std::uint8_t>(bytes[1]));
            }
        }
    }
    return form;
}

// Writes a known form at out and returns the end of what it wrote.
char* PutForm(std::uint16_t form, char* out) {
    if (form >= 0x100) {
        *out++ = static_cast<char>(form >> 8);
    }
    *out++ = static_cast<char>(form & 0xFF);
    return out;
}

bool EncodeCached(char32_t cp, std::string& out) {
    if (cp > 0xFFFF) {
        return EncodeCodePoint(cp, out);
    }
    const std::uint16_t form = FormOf(Table(), cp);
    if (form == kNoForm) {
        return false;
    }
    char bytes[2];
    out.append(bytes, PutForm(form, bytes));
    return true;
}

} // namespace

Encoded Encode(std::string_view utf8) {
    Encoded result;
    const auto* s = reinterpret_cast<const unsigned char*>(utf8.data());
    const std::size_t length = utf8.size();
    std::size_t i = 0;
    while (i < length && s[i] < 0x80) {
        ++i;
    }
    if (i == length) {
        result.bytes.assign(utf8);
        return result;
    }
    // No character takes more bytes in CP932 than in UTF-8 ('?' included), so the bytes are
    // written straight into a buffer of the UTF-8 text's size.
    result.bytes.resize(length);
    char* out = std::copy(utf8.data(), utf8.data() + i, result.bytes.data());
    std::uint16_t* table = Table();
    std::string wide;
    while (i < length) {
        char32_t cp = s[i];
        if (cp < 0x80) {
            *out++ = static_cast<char>(cp);
            ++i;
            continue;
        }
        // Japanese text is mostly three-byte sequences: read those directly, the rest (and
        // anything malformed) through the general reader.
        if ((cp & 0xF0) == 0xE0 && i + 2 < length && (s[i + 1] & 0xC0) == 0x80 &&
            (s[i + 2] & 0xC0) == 0x80 && (cp != 0xE0 || s[i + 1] >= 0xA0) &&
            (cp != 0xED || s[i + 1] < 0xA0)) {
            cp = ((cp & 0x0F) << 12) | ((s[i + 1] & 0x3F) << 6) | (s[i + 2] & 0x3F);
            i += 3;
        } else {
            cp = NextCodePoint(utf8, i);
        }
        if (cp <= 0xFFFF) {
            const std::uint16_t form = FormOf(table, cp);
            if (form != kNoForm) {
                out = PutForm(form, out);
                continue;
            }
        } else {
            wide.clear();
            // A character beyond the BMP takes four UTF-8 bytes, room enough for any form.
            if (EncodeCodePoint(cp, wide) && wide.size() <= 4) {
                out = std::copy(wide.begin(), wide.end(), out);
                continue;
            }
        }
        *out++ = '?';
        result.unrepresentable.push_back(cp);
    }
    result.bytes.resize(static_cast<std::size_t>(out - result.bytes.data()));
    return result;
}

namespace {

// The end of the run of non-ASCII characters that starts at begin: single bytes from 0x80 on
// and lead bytes with their trail bytes (a trail byte may be below 0x80).
std::size_t EndOfNonAsciiRun(std::string_view cp932, std::size_t begin) {
    std::size_t i = begin;
    while (i < cp932.size()) {
        const auto c = static_cast<unsigned char>(cp932[i]);
        if (c < 0x80) {
            break;
        }
        const bool paired = converter::IsLeadByte(c) && i + 1 < cp932.size() &&
                            converter::IsTrailByte(static_cast<unsigned char>(cp932[i + 1]));
        i += paired ? 2 : 1;
    }
    return i;
}

// Appends the UTF-8 form of a run of non-ASCII CP932 bytes; false when some were not valid.
bool AppendDecodedRun(std::string_view run, std::string& utf8) {
    std::u16string utf16;
    const bool valid = converter::DecodeRun(run, utf16);
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        char32_t cp = utf16[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
            utf16[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (utf16[++i] - 0xDC00);
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;
        }
        AppendUtf8(cp, utf8);
    }
    return valid;
}

} // namespace

Decoded Decode(std::string_view cp932) {
    Decoded result;
    if (IsAscii(cp932)) {
        result.utf8.assign(cp932);
        return result;
    }
    // Bytes below 0x80 are themselves, as in Windows' code page. They never go through the
    // converter: its "windows-31j" table swaps 0x1A, 0x1C and 0x7F for one another.
    result.utf8.reserve(cp932.size() * 3 / 2);
    std::size_t i = 0;
    while (i < cp932.size()) {
        std::size_t asciiEnd = i;
        while (asciiEnd < cp932.size() && static_cast<unsigned char>(cp932[asciiEnd]) < 0x80) {
            ++asciiEnd;
        }
        result.utf8.append(cp932.substr(i, asciiEnd - i));
        i = asciiEnd;
        if (i == cp932.size()) {
            break;
        }
        const std::size_t runEnd = EndOfNonAsciiRun(cp932, i);
        if (!AppendDecodedRun(cp932.substr(i, runEnd - i), result.utf8)) {
            result.ok = false;
        }
        i = runEnd;
    }
    return result;
}

bool IsRepresentable(std::string_view utf8) {
    return Encode(utf8).Ok();
}

std::string FirstUnrepresentable(std::string_view utf8) {
    std::string found;
    ForEachCodePoint(utf8, [&](char32_t cp, std::string_view bytes) {
        std::string encoded;
        if (cp < 0x80 || (cp != 0xFFFD && EncodeCached(cp, encoded))) {
            return true;
        }
        found = cp == 0xFFFD ? std::string("\xEF\xBF\xBD") : std::string(bytes);
        return false;
    });
    return found;
}

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
        const std::size_t size = cp < 0x80 ? 1 : (EncodeCached(cp, encoded) ? encoded.size() : 1);
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
