#pragma once

#include <string>
#include <vector>

namespace fmb {

// One value a reader found in a document, with how strongly the document points to it.
struct Candidate {
    std::string value;
    int score = 0;
};

// Best first; of candidates with the same score the one found first comes first. A value found
// several times appears once, with its best score.
std::vector<Candidate> Ranked(std::vector<Candidate> found);

} // namespace fmb
