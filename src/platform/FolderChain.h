#pragma once

#include <filesystem>
#include <vector>

namespace fmb {

// The folders on the way from the top of a walk down to the folder being walked. A walk that
// follows folder links asks it before entering a linked folder, so that a link pointing back up
// the tree does not send the walk round in circles.
class FolderChain {
public:
    void Enter(const std::filesystem::path& folder) { m_folders.push_back(folder); }
    void Leave() { m_folders.pop_back(); }
    // True when folder is one of the folders on the chain (the same folder on disk, however
    // it is spelled).
    bool Holds(const std::filesystem::path& folder) const;

private:
    std::vector<std::filesystem::path> m_folders;
};

} // namespace fmb
