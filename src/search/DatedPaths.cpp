#include "search/DatedPaths.h"

#include <algorithm>

namespace fmb {

void DatedPaths::Add(int date, std::string_view path) {
    m_entries.push_back({date, m_text.size(), path.size()});
    m_text.append(path);
}

std::vector<std::string_view> DatedPaths::Sorted() const {
    const auto pathOf = [this](const Entry& entry) {
        return std::string_view(m_text).substr(entry.offset, entry.size);
    };
    std::vector<Entry> entries = m_entries;
    std::sort(entries.begin(), entries.end(), [&](const Entry& a, const Entry& b) {
        return a.date != b.date ? a.date < b.date : pathOf(a) < pathOf(b);
    });
    std::vector<std::string_view> paths;
    paths.reserve(entries.size());
    for (const Entry& entry : entries) {
        paths.push_back(pathOf(entry));
    }
    return paths;
}

} // namespace fmb
