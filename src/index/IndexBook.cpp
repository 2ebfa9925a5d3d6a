#include "index/IndexBook.h"

#include "index/FileNameParse.h"

#include <utility>
#include <string_view>

namespace fmb {
namespace {

constexpr std::string_view kPrefixOpen = "＜";
constexpr std::string_view kPrefixClose = "＞";

std::string WithoutChar(std::string_view text, char removed) {
    std::string result;
    result.reserve(text.size());
    for (char c : text) {
        if (c != removed) {
            result.push_back(c);
        }
    }
    return result;
}

void AppendQuoted(std::string& line, std::string_view cell) {
    line.push_back('"');
    for (char c : cell) {
        if (c == '"') {
            line.push_back('"');
        }
        line.push_back(c);
    }
    line.push_back('"');
}

void AppendCell(std::string& line, std::string_view cell) {
    if (cell.find_first_of(",\"\r\n") != std::string_view::npos) {
        AppendQuoted(line, cell);
    } else {
        line.append(cell);
    }
}

} // namespace

std::vector<CLineOne> BuildRows(std::vector<ScanEntry> entries, const std::string& linkBase) {
    std::vector<CLineOne> rows;
    rows.reserve(entries.size());
    for (ScanEntry& entry : entries) {
        ParsedName parsed = ParseFileName(entry.fileName);
        if (parsed.date.empty()) {
            continue;
        }
        std::string path = linkBase.empty() ? std::move(entry.fullPath)
                                             : MakeRelativePath(entry.fullPath, linkBase);
        for (const std::string& amount : parsed.amounts) {
            CLineOne row;
            row.type = entry.typeFolder;
            row.date = parsed.date;
            row.company = parsed.company;
            row.amount = WithoutChar(amount, ',');
            row.remark = parsed.remark;
            row.path = path;
            rows.push_back(std::move(row));
        }
        // The entry's texts are no longer needed; give their memory back as the rows grow.
        entry = ScanEntry{};
    }
    return rows;
}

std::string IndexBookHeader() {
    return "種類,年月日,取引先名,金額,備考(種別),備考,ファイルパス,リンク先を開く";
}

std::string IndexBookLine(const CLineOne& row, std::size_t lineNumber) {
    std::string_view prefix;
    std::string_view remark = row.remark;
    if (remark.starts_with(kPrefixOpen)) {
        const auto close = remark.find(kPrefixClose);
        if (close != std::string_view::npos) {
            prefix = remark.substr(0, close + kPrefixClose.size());
            remark.remove_prefix(prefix.size());
        }
    }
    std::string line;
    line.reserve(row.type.size() + row.date.size() + row.company.size() + row.amount.size() +
                 row.remark.size() + row.path.size() + 40);
    AppendCell(line, row.type);
    line.push_back(',');
    AppendCell(line, WithoutChar(row.date, '_'));
    line.push_back(',');
    AppendCell(line, row.company);
    line.push_back(',');
    AppendCell(line, WithoutChar(row.amount, ','));
    line.push_back(',');
    AppendCell(line, prefix);
    line.push_back(',');
    AppendCell(line, remark);
    line.push_back(',');
    AppendQuoted(line, row.path);
    line.append(",=HYPERLINK(G");
    line.append(std::to_string(lineNumber));
    line.push_back(')');
    return line;
}

} // namespace fmb
