#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace fmb {

// A path as its folder (with the trailing separator) and the name in it.
struct FolderAndName {
    std::string_view folder;
    std::string_view name;

    std::string Whole() const { return std::string(folder).append(name); }
};

// The dates and full paths of matched documents, for listing them sorted by date and then path.
// The files of a folder come one after another, so each folder's path is kept once and each file
// keeps its name; the texts lie in blocks that never move, so 100,000 paths cost a few
// allocations and no copying as the list grows.
class DatedPaths {
public:
    // Adds the file fullPath, whose name is its last fileNameSize bytes.
    void Add(int date, std::string_view fullPath, std::size_t fileNameSize);
    // Takes in every path of more.
    void Add(DatedPaths&& more);
    // The paths, sorted by date and then by their bytes; valid while this list lives.
    std::vector<FolderAndName> Sorted() const;

private:
    struct Entry {
        int date = 0;
        std::uint32_t folder = 0; // in m_folders
        std::string_view name;
    };

    // A copy of text in the blocks, valid while this list lives.
    std::string_view Keep(std::string_view text);

    std::vector<std::unique_ptr<char[]>> m_blocks;
    std::size_t m_blockUsed = 0;
    std::size_t m_blockSize = 0;
    std::vector<std::string_view> m_folders; // as kept; the last is that of the last file added
    std::vector<Entry> m_entries;
};

} // namespace fmb
