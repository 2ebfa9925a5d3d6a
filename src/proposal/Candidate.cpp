#include "proposal/Candidate.h"

#include <algorithm>

namespace fmb {

std::vector<Candidate> Ranked(std::vector<Candidate> found) {
    std::stable_sort(found.begin(), found.end(),
                     [](const Candidate& a, const Candidate& b) { return a.score > b.score; });
    std::vector<Candidate> ranked;
    for (Candidate& candidate : found) {
        const bool seen = std::any_of(ranked.begin(), ranked.end(), [&](const Candidate& kept) {
            return kept.value == candidate.value;
        });
        if (!seen)
            ranked.push_back(std::move(candidate));
    }
    return ranked;
}

} // namespace fmb
