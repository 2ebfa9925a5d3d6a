#include "index/FileNameParse.h"

namespace fmb {

std::string_view TakeField(std::string_view& rest) {
    const auto close = rest.find(']');
    if (close == std::string_view::npos) {
        return {};
    }
    const auto open = rest.find('[');
    const std::size_t start = open == std::string_view::npos ? 0 : open + 1;
    const std::string_view field =
        start <= close ? rest.substr(start, close - start) : std::string_view{};
    rest.remove_prefix(close + 1);
    return field;
}

void ParseFileName(std::string_view fileName, ParsedName& parsed) {
    parsed.amounts.clear();
    parsed.remark = {};
    std::string_view s = fileName;
    parsed.date = TakeField(s);
    parsed.company = TakeField(s);
    parsed.amounts.push_back(TakeField(s));
    // Further bracketed amounts. A "[" that is never closed ends the amounts: what is left,
    // bracket included, becomes the remark, so the name still shows in the row.
    while (!s.empty() && s.find('[') != std::string_view::npos &&
           s.find(']') != std::string_view::npos) {
        parsed.amounts.push_back(TakeField(s));
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
