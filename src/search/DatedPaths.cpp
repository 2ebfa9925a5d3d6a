#include "search/DatedPaths.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <numeric>
#include <thread>

namespace fmb {
namespace {

constexpr std::size_t kBlockSize = 1 << 18;
// Lists at least this long are sorted on two threads.
constexpr std::size_t kSortedApart = 20000;

// Compares the bytes of a1 followed by a2 with those of b1 followed by b2: negative, zero or
// positive.
int CompareJoined(std::string_view a1, std::string_view a2, std::string_view b1,
                  std::string_view b2) {
    while (true) {
        if (a1.empty()) {
            if (a2.empty()) {
                return b1.empty() && b2.empty() ? 0 : -1;
            }
            std::swap(a1, a2);
        }
        if (b1.empty()) {
            if (b2.empty()) {
                return 1;
            }
            std::swap(b1, b2);
        }
        const std::size_t common = std::min(a1.size(), b1.size());
        if (const int order = std::memcmp(a1.data(), b1.data(), common); order != 0) {
            return order;
        }
        a1.remove_prefix(common);
        b1.remove_prefix(common);
    }
}

} // namespace

std::string_view DatedPaths::Keep(std::string_view text) {
    if (m_blocks.empty() || m_blockSize - m_blockUsed < text.size()) {
        m_blockSize = std::max(kBlockSize, text.size());
        m_blocks.push_back(std::make_unique_for_overwrite<char[]>(m_blockSize));
        m_blockUsed = 0;
    }
    char* const kept = m_blocks.back().get() + m_blockUsed;
    std::copy(text.begin(), text.end(), kept);
    m_blockUsed += text.size();
    return {kept, text.size()};
}

void DatedPaths::Add(int date, std::string_view fullPath, std::size_t fileNameSize) {
    const std::string_view folder = fullPath.substr(0, fullPath.size() - fileNameSize);
    if (m_folders.empty() || folder != m_folders.back()) {
        m_folders.push_back(Keep(folder));
    }
    m_entries.push_back({date, static_cast<std::uint32_t>(m_folders.size() - 1),
                         Keep(fullPath.substr(folder.size()))});
}

void DatedPaths::Add(DatedPaths&& more) {
    std::move(more.m_blocks.begin(), more.m_blocks.end(), std::back_inserter(m_blocks));
    // The current block is the last one taken in; starting a new one keeps the others whole.
    m_blockUsed = m_blockSize;
    const auto shift = static_cast<std::uint32_t>(m_folders.size());
    m_folders.insert(m_folders.end(), more.m_folders.begin(), more.m_folders.end());
    for (Entry entry : more.m_entries) {
        entry.folder += shift;
        m_entries.push_back(entry);
    }
    more = DatedPaths();
}

// Most comparisons are between files of different folders on one day. The folders are put in
// order once, so that these take two numbers, not two long texts: the order of two folders is
// that of their files, unless the earlier folder is the start of the later one's path (a folder
// holding files beside subfolders that hold files), which only the whole paths can settle.
std::vector<FolderAndName> DatedPaths::Sorted() const {
    std::vector<std::uint32_t> byText(m_folders.size());
    std::iota(byText.begin(), byText.end(), 0);
    std::sort(byText.begin(), byText.end(),
              [this](std::uint32_t a, std::uint32_t b) { return m_folders[a] < m_folders[b]; });
    std::vector<std::uint32_t> rank(m_folders.size());
    // A folder that starts the path of a folder after it starts the path of the next one too.
    std::vector<bool> startsLater(m_folders.size());
    for (std::size_t i = 0; i < byText.size(); ++i) {
        rank[byText[i]] = static_cast<std::uint32_t>(i);
        startsLater[byText[i]] =
            i + 1 < byText.size() && m_folders[byText[i + 1]].starts_with(m_folders[byText[i]]);
    }
    const auto before = [&](const Entry& a, const Entry& b) {
        if (a.date != b.date) {
            return a.date < b.date;
        }
        if (a.folder == b.folder) {
            return a.name < b.name;
        }
        const bool aFirst = rank[a.folder] < rank[b.folder];
        if (!startsLater[aFirst ? a.folder : b.folder]) {
            return aFirst;
        }
        return CompareJoined(m_folders[a.folder], a.name, m_folders[b.folder], b.name) < 0;
    };
    std::vector<Entry> entries = m_entries;
    // A long list is sorted in two halves at once, then merged.
    const auto middle = entries.begin() + static_cast<std::ptrdiff_t>(entries.size() / 2);
    if (entries.size() >= kSortedApart) {
        std::jthread firstHalf([&] { std::sort(entries.begin(), middle, before); });
        std::sort(middle, entries.end(), before);
    } else {
        std::sort(entries.begin(), middle, before);
        std::sort(middle, entries.end(), before);
    }
    std::inplace_merge(entries.begin(), middle, entries.end(), before);
    std::vector<FolderAndName> paths;
    paths.reserve(entries.size());
    for (const Entry& entry : entries) {
        paths.push_back({m_folders[entry.folder], entry.name});
    }
    return paths;
}

} // namespace fmb
