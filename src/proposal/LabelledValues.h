#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace fmb {

// A caption that tells what the value after it is ("請求日", "小計"), and how much it speaks for
// the value being the one wanted (negative: speaks against it).
struct Label {
    std::string_view text;
    int score;
};

// A value found in a closed-up line (see ClosedUp), where it stands and how plainly it looks
// like what is wanted.
struct Hit {
    std::string value;
    std::size_t begin = 0;
    std::size_t end = 0;
    int bonus = 0;
};

// A hit together with what the document says about it.
struct LabelledHit {
    Hit hit;
    int labelScore = 0; // 0 when no label speaks for or against it
    bool labelled = false;
    std::size_t line = 0; // index of its line
};

using HitFinder = std::function<std::vector<Hit>(std::string_view closedLine)>;

// Finds the values of every line and the label each belongs to: the nearest label before it in
// its line (not one that stands before an earlier value), else, for a line of bare values under
// a line of as many labels alone (the head of a table), the label in the same column. A label of
// a table head counts for headPercent percent of its score.
std::vector<LabelledHit> ReadLabelledValues(const std::vector<std::string>& lines,
                                            const std::vector<Label>& labels,
                                            const HitFinder& findHits, int headPercent);

} // namespace fmb
