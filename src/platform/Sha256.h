#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace fmb {

// SHA-256 of a stream of bytes fed in pieces, from the platform's cryptographic library.
class Sha256 {
public:
    Sha256();
    ~Sha256();
    Sha256(const Sha256&) = delete;
    Sha256& operator=(const Sha256&) = delete;

    void Update(const void* data, std::size_t size);
    void Update(std::string_view text) { Update(text.data(), text.size()); }
    // The digest of everything fed so far as 64 lower-case hex digits; the object then starts
    // afresh.
    std::string HexDigest();

private:
    struct State;
    std::unique_ptr<State> m_state;
};

// The SHA-256 of a text, in hex.
std::string Sha256Hex(std::string_view text);

// Bytes as lower-case hex digits, two per byte.
std::string HexText(const unsigned char* bytes, std::size_t size);

} // namespace fmb
