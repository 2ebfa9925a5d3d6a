#include "ledger/StoredFields.h"

#include "filing/AmountText.h"
#include "index/FileNameParse.h"
#include "platform/PathText.h"

#include <algorithm>
#include <vector>

namespace fmb {
namespace {

std::string Without(std::string_view text, char dropped) {
    std::string kept(text);
    kept.erase(std::remove(kept.begin(), kept.end(), dropped), kept.end());
    return kept;
}

} // namespace

FilingEntry EntryOfStoredDocument(const Ledger& ledger, const std::string& storedPath) {
    FilingEntry entry;
    entry.sourcePath = storedPath;
    const std::string relative = ledger.RelativePath(storedPath);
    // fiscal year / type / ... / name
    const std::size_t first = relative.find('/');
    const std::size_t second = first == std::string::npos ? first : relative.find('/', first + 1);
    if (second != std::string::npos) {
        entry.typeName = relative.substr(first + 1, second - first - 1);
    }
    const std::string name = LastComponent(storedPath);
    ParsedName parsed;
    ParseFileName(name, parsed);
    entry.date = Without(parsed.date, '_');
    entry.company = parsed.company;
    entry.amount = Without(parsed.amounts.front(), ',');
    std::vector<std::string> extra;
    for (std::size_t i = 1; i < parsed.amounts.size(); ++i) {
        extra.push_back(Without(parsed.amounts[i], ','));
    }
    const ExtraAmountTexts joined = JoinExtraAmounts(extra);
    entry.extraPlain = joined.plain;
    entry.extraComma = joined.comma;
    entry.remark = parsed.remark;
    const std::string prefix = "＜" + entry.typeName + "＞";
    if (!entry.typeName.empty() && entry.remark.starts_with(prefix)) {
        entry.remark.erase(0, prefix.size());
    }
    return entry;
}

} // namespace fmb
