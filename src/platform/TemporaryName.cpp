#include "platform/TemporaryName.h"

#include <random>

namespace fmb {
namespace {

constexpr std::size_t kRandomLetters = 12;

} // namespace

std::string MakeTemporaryName() {
    // Seeded once per thread from the system's entropy: two processes filing into one shared
    // folder never pick the same name by design, and exclusive creation catches the rest.
    thread_local std::mt19937_64 generator{std::random_device{}()};
    std::uniform_int_distribution<int> letter('a', 'z');
    std::string name(kTemporaryPrefix);
    for (std::size_t i = 0; i < kRandomLetters; ++i)
        name.push_back(static_cast<char>(letter(generator)));
    return name;
}

bool IsTemporaryName(std::string_view name) {
    if (!name.starts_with(kTemporaryPrefix))
        return false;
    const std::string_view rest = name.substr(kTemporaryPrefix.size());
    if (rest.size() != kRandomLetters)
        return false;
    for (char c : rest) {
        if (c < 'a' || c > 'z')
            return false;
    }
    return true;
}

} // namespace fmb
