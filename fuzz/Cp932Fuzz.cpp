// The code-page layer on arbitrary input: the bytes as CP932 (what an INI file or a book may
// hold) and as UTF-8 (what a user may type). Both directions must agree with each other, bytes
// below 0x80 must stay themselves, and nothing may crash.
#include "FuzzCheck.h"

#include "platform/Cp932.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

using namespace fmb::cp932;

// Bytes read from a file: whatever decodes cleanly is written back by Encode as a text that
// decodes to itself again.
void CheckDecoding(std::string_view bytes) {
    const Decoded decoded = Decode(bytes);
    if (!decoded.ok) {
        return;
    }
    const Encoded encoded = Encode(decoded.utf8);
    FUZZ_CHECK(encoded.Ok());
    FUZZ_CHECK(ByteLength(decoded.utf8) == encoded.bytes.size());
    const Decoded again = Decode(encoded.bytes);
    FUZZ_CHECK(again.ok);
    FUZZ_CHECK(again.utf8 == decoded.utf8);
}

// Bytes below 0x80 beside a double-byte character are themselves both ways.
void CheckAscii(std::string_view bytes) {
    std::string ascii;
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) < 0x80) {
            ascii.push_back(c);
        }
    }
    const std::string cp932 = "\x82\xB5" + ascii; // し
    const Decoded decoded = Decode(cp932);
    FUZZ_CHECK(decoded.ok);
    FUZZ_CHECK(decoded.utf8 == "し" + ascii);
    FUZZ_CHECK(Encode(decoded.utf8).bytes == cp932);
}

// A typed text: what Encode writes decodes to a text that Encode writes the same way; what it
// cannot write is reported, and the counting and cutting helpers agree with it.
void CheckEncoding(std::string_view utf8) {
    const Encoded encoded = Encode(utf8);
    FUZZ_CHECK(encoded.Ok() == FirstUnrepresentable(utf8).empty());
    FUZZ_CHECK(encoded.Ok() == IsRepresentable(utf8));
    FUZZ_CHECK(ByteLength(utf8) == encoded.bytes.size());
    const std::size_t limit = encoded.bytes.size() / 2;
    const std::string cut = CutToBytes(utf8, limit);
    FUZZ_CHECK(utf8.starts_with(cut));
    FUZZ_CHECK(ByteLength(cut) <= limit);
    if (!encoded.Ok()) {
        return;
    }
    const Decoded decoded = Decode(encoded.bytes);
    FUZZ_CHECK(decoded.ok);
    FUZZ_CHECK(Encode(decoded.utf8).bytes == encoded.bytes);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    CheckDecoding(input);
    CheckAscii(input);
    CheckEncoding(input);
    return 0;
}
