#include "index/FileNameParse.h"

namespace fmb {
namespace {

// The text between the first "[" and the first "]"; empty when "]" is missing or comes before
// "[". Without a "[" the field starts at the front.
std::string_view Field(std::string_view s) {
    const auto close = s.find(']');
    if (close == std::string_view::npos) {
        return {};
    }
    const auto open = s.find('[');
    const std::size_t start = open == std::string_view::npos ? 0 : open + 1;
    return start <= close ? s.substr(start, close - start) : std::string_view{};
}

// What follows the first "]"; the whole text when it has none.
std::string_view Rest(std::string_view s) {
    const auto close = s.find(']');
    return close == std::string_view::npos ? s : s.substr(close + 1);
}

} // namespace

void ParseFileName(std::string_view fileName, ParsedName& parsed) {
    parsed.amounts.clear();
    parsed.remark = {};
    std::string_view s = fileName;
    parsed.date = Field(s);
    s = Rest(s);
    parsed.company = Field(s);
    s = Rest(s);
    parsed.amounts.push_back(Field(s));
    s = Rest(s);
    // Further bracketed amounts. A "[" that is never closed ends the amounts: what is left,
    // bracket included, becomes the remark, so the name still shows in the row.
    while (!s.empty() && s.find('[') != std::string_view::npos &&
           s.find(']') != std::string_view::npos) {
        parsed.amounts.push_back(Field(s));
        s = Rest(s);
    }
    const auto dot = s.rfind('.');
    if (dot != std::string_view::npos) {
        parsed.remark = s.substr(0, dot);
    }
}

std::string_view MakeRelativePath(std::string_view fullPath, std::string_view base) {
    return fullPath.starts_with(base) ? fullPath.substr(base.size()) : std::string_view{};
}

} // namespace fmb
