#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Code page 932 (the Microsoft mapping of Shift-JIS) at the edge of the program: every text in
// memory is UTF-8, and only the bytes of the INI files and the index book are CP932.
namespace fmb::cp932 {

struct Encoded {
    std::string bytes;                     // CP932 bytes; an unrepresentable character becomes '?'
    std::vector<char32_t> unrepresentable; // characters CP932 cannot hold, in text order
    bool Ok() const { return unrepresentable.empty(); }
};

struct Decoded {
    std::string utf8; // bytes that are not valid CP932 become U+FFFD
    bool ok = true;   // false when some bytes were not valid CP932
};

Encoded Encode(std::string_view utf8);
Decoded Decode(std::string_view cp932);

// True when every character of the UTF-8 text has a CP932 form.
bool IsRepresentable(std::string_view utf8);

// The first character of the UTF-8 text that CP932 cannot hold, as UTF-8 (U+FFFD for bytes that
// are not UTF-8); empty when there is none.
std::string FirstUnrepresentable(std::string_view utf8);

// Number of bytes the text takes in CP932 (an unrepresentable character counts as one byte).
std::size_t ByteLength(std::string_view utf8);

// The longest leading part of the text whose CP932 form has at most maxBytes bytes; a character
// is never split.
std::string CutToBytes(std::string_view utf8, std::size_t maxBytes);

} // namespace fmb::cp932
