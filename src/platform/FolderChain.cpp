#include "platform/FolderChain.h"

#include <system_error>

namespace fmb {

bool FolderChain::Holds(const std::filesystem::path& folder) const {
    for (const auto& onChain : m_folders) {
        std::error_code error;
        if (std::filesystem::equivalent(folder, onChain, error)) {
            return true;
        }
    }
    return false;
}

} // namespace fmb
