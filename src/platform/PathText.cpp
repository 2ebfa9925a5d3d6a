#include "platform/PathText.h"

namespace fmb {

bool EndsWithSeparator(std::string_view text) {
    return !text.empty() && text.back() == kPathSeparator;
}

std::string WithTrailingSeparator(std::string_view folder) {
    std::string result(folder);
    if (!result.empty() && !EndsWithSeparator(result)) {
        result.push_back(kPathSeparator);
    }
    return result;
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
