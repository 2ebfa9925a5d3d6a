#include "proposal/LabelledValues.h"

#include "proposal/DocumentText.h"

#include <algorithm>
#include <optional>

namespace fmb {
namespace {

struct PlacedLabel {
    const Label* label;
    std::size_t begin;
    std::size_t end;
};

// The labels of a line in reading order; where labels overlap ("税込合計" holds "合計"), the
// longest.
std::vector<PlacedLabel> LabelsOf(std::string_view line, const std::vector<Label>& labels) {
    std::vector<PlacedLabel> found;
    for (const Label& label : labels) {
        for (std::size_t at = line.find(label.text); at != std::string_view::npos;
             at = line.find(label.text, at + 1))
            found.push_back({&label, at, at + label.text.size()});
    }
    std::sort(found.begin(), found.end(), [](const PlacedLabel& a, const PlacedLabel& b) {
        return a.begin != b.begin ? a.begin < b.begin : a.end > b.end;
    });
    std::vector<PlacedLabel> kept;
    for (const PlacedLabel& label : found) {
        if (!kept.empty() && label.begin < kept.back().end) {
            if (label.end - label.begin > kept.back().end - kept.back().begin)
                kept.back() = label;
            continue;
        }
        kept.push_back(label);
    }
    return kept;
}

// The label nearest before the hit, when it stands after the previous hit.
std::optional<PlacedLabel> LabelBefore(const std::vector<PlacedLabel>& labels, const Hit& hit,
                                       std::size_t previousHitEnd) {
    std::optional<PlacedLabel> nearest;
    for (const PlacedLabel& label : labels) {
        if (label.end <= hit.begin && label.begin >= previousHitEnd)
            nearest = label;
    }
    return nearest;
}

} // namespace

std::vector<LabelledHit> ReadLabelledValues(const std::vector<std::string>& lines,
                                            const std::vector<Label>& labels,
                                            const HitFinder& findHits, int headPercent) {
    std::vector<LabelledHit> result;
    std::vector<PlacedLabel> head; // labels of the previous line when it held no value
    for (std::size_t index = 0; index < lines.size(); ++index) {
        const std::string line = ClosedUp(lines[index]);
        const std::vector<PlacedLabel> own = LabelsOf(line, labels);
        const std::vector<Hit> hits = findHits(line);
        std::size_t previousEnd = 0;
        for (std::size_t h = 0; h < hits.size(); ++h) {
            LabelledHit labelled{hits[h], 0, false, index};
            if (const auto label = LabelBefore(own, hits[h], previousEnd)) {
                labelled.labelScore = label->label->score;
                labelled.labelled = true;
            } else if (own.empty() && head.size() == hits.size()) {
                // Column by column; when the numbers differ, a head was misread or a column
                // holds no value, and which value is under which head is anyone's guess.
                labelled.labelScore = head[h].label->score * headPercent / 100;
                labelled.labelled = true;
            }
            result.push_back(std::move(labelled));
            previousEnd = hits[h].end;
        }
        head = hits.empty() ? own : std::vector<PlacedLabel>();
    }
    return result;
}

} // namespace fmb
