#include "platform/Sha256.h"

#include <windows.h>

#include <bcrypt.h>

#include <cstdlib>

namespace fmb {
namespace {

bool Succeeded(NTSTATUS status) {
    return status >= 0;
}

// The system's SHA-256 provider, opened once for the whole program: opening it is costly, and a
// verification digests thousands of files.
BCRYPT_ALG_HANDLE Provider() {
    static const BCRYPT_ALG_HANDLE provider = [] {
        BCRYPT_ALG_HANDLE opened = nullptr;
        // Without the digest nothing could be trusted: the hash is what proves a document
        // unchanged.
        if (!Succeeded(BCryptOpenAlgorithmProvider(&opened, BCRYPT_SHA256_ALGORITHM, nullptr, 0))) {
            std::abort();
        }
        return opened;
    }();
    return provider;
}

BCRYPT_HASH_HANDLE NewHash() {
    BCRYPT_HASH_HANDLE hash = nullptr;
    // The system keeps the hash object itself (no buffer given).
    if (!Succeeded(BCryptCreateHash(Provider(), &hash, nullptr, 0, nullptr, 0, 0))) {
        std::abort();
    }
    return hash;
}

} // namespace

struct Sha256::State {
    BCRYPT_HASH_HANDLE hash = nullptr;
};

Sha256::Sha256() : m_state(std::make_unique<State>()) {
    m_state->hash = NewHash();
}

Sha256::~Sha256() {
    BCryptDestroyHash(m_state->hash);
}

void Sha256::Update(const void* data, std::size_t size) {
    // BCryptHashData takes at most 4 GB - 1 in one call.
    constexpr std::size_t kLargestCall = std::size_t{1} << 30;
    auto* bytes = static_cast<PUCHAR>(const_cast<void*>(data));
    while (size > 0) {
        const std::size_t piece = size < kLargestCall ? size : kLargestCall;
        if (!Succeeded(BCryptHashData(m_state->hash, bytes, static_cast<ULONG>(piece), 0))) {
            std::abort();
        }
        bytes += piece;
        size -= piece;
    }
}

std::string Sha256::HexDigest() {
    UCHAR digest[32];
    if (!Succeeded(BCryptFinishHash(m_state->hash, digest, sizeof digest, 0))) {
        std::abort();
    }
    // A finished hash takes no more data: the next one starts afresh.
    BCryptDestroyHash(m_state->hash);
    m_state->hash = NewHash();
    return HexText(digest, sizeof digest);
}

} // namespace fmb
