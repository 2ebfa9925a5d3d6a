#pragma once

#include <string>
#include <string_view>

// The converter under the CP932 text layer: ICU's "windows-31j" on Linux and macOS, the system's
// code page 932 on Windows. Both give the same bytes for every character; only the text layer
// (Cp932.h) calls them.
namespace fmb::cp932::converter {

// A lead byte of a double-byte character, and the bytes that may follow one.
inline bool IsLeadByte(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}
inline bool IsTrailByte(unsigned char c) {
    return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC);
}

// Appends the CP932 form of one code point to out. False, appending nothing, when CP932 has no
// form of its own for it (a look-alike "best fit" does not count).
bool EncodeCodePoint(char32_t cp, std::string& out);

// The UTF-16 form of a run of CP932 bytes that are not ASCII (single bytes from 0x80 on, lead
// bytes with their trail bytes). False when some bytes were not valid CP932; each character they
// stood for is U+FFFD then.
bool DecodeRun(std::string_view run, std::u16string& utf16);

} // namespace fmb::cp932::converter
