#include "platform/Sha256.h"

#include <openssl/evp.h>

#include <cstdlib>

namespace fmb {

struct Sha256::State {
    EVP_MD_CTX* context = nullptr;
};

namespace {

void Start(EVP_MD_CTX* context) {
    // Without a context or the digest nothing could be trusted: the hash is what proves a
    // document unchanged.
    if (context == nullptr || EVP_DigestInit_ex(context, EVP_sha256(), nullptr) != 1) {
        std::abort();
    }
}

} // namespace

Sha256::Sha256() : m_state(std::make_unique<State>()) {
    m_state->context = EVP_MD_CTX_new();
    Start(m_state->context);
}

Sha256::~Sha256() {
    EVP_MD_CTX_free(m_state->context);
}

void Sha256::Update(const void* data, std::size_t size) {
    if (size > 0 && EVP_DigestUpdate(m_state->context, data, size) != 1) {
        std::abort();
    }
}

std::string Sha256::HexDigest() {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (EVP_DigestFinal_ex(m_state->context, digest, &length) != 1) {
        std::abort();
    }
    Start(m_state->context);
    return HexText(digest, length);
}

} // namespace fmb
