#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace fmb {

// The dates and full paths of matched documents, for listing them sorted by date and then path.
// The paths are kept end to end in one text, so that 100,000 of them cost a few allocations,
// not one each.
class DatedPaths {
public:
    void Add(int date, std::string_view path);
    // The paths, sorted by date and then path; valid while this list is neither added to nor
    // destroyed.
    std::vector<std::string_view> Sorted() const;

private:
    struct Entry {
        int date = 0;
        std::size_t offset = 0; // where the path starts in m_text
        std::size_t size = 0;
    };

    std::string m_text;
    std::vector<Entry> m_entries;
};

} // namespace fmb
