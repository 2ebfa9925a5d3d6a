#include "platform/PathText.h"

namespace fmb {

bool EndsWithSeparator(std::string_view text) {
    return !text.empty() && text.back() == kPathSeparator;
}

std::string WithTrailingSeparator(std::string_view folder) {
    std::string result(folder);
    AddTrailingBackslash(result);
    return result;
}

int AddTrailingBackslash(std::string& folder) {
    if (folder.empty() || EndsWithSeparator(folder)) {
        return 0;
    }
    folder.push_back(kPathSeparator);
    return 1;
}

std::string LastComponent(std::string_view path) {
    const auto pos = path.rfind(kPathSeparator);
    return std::string(pos == std::string_view::npos ? path : path.substr(pos + 1));
}

std::filesystem::path ToFsPath(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string FromFsPath(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

} // namespace fmb
