#include "platform/Sha256.h"

namespace fmb {

std::string Sha256Hex(std::string_view text) {
    Sha256 hash;
    hash.Update(text);
    return hash.HexDigest();
}

std::string HexText(const unsigned char* bytes, std::size_t size) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(size * 2);
    for (std::size_t i = 0; i < size; ++i) {
        hex.push_back(kHex[bytes[i] >> 4]);
        hex.push_back(kHex[bytes[i] & 0x0f]);
    }
    return hex;
}

} // namespace fmb
