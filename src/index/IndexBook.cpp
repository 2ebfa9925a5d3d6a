#include "index/IndexBook.h"

#include <charconv>

namespace fmb {
namespace {

constexpr std::string_view kPrefixOpen = "＜";
constexpr std::string_view kPrefixClose = "＞";

void AssignWithout(std::string& out, std::string_view text, char removed) {
    out.clear();
    for (char c : text) {
        if (c != removed) {
            out.push_back(c);
        }
    }
}

bool NeedsQuotes(std::string_view cell) {
    // One pass over the bytes: all four characters lie below '-', so most bytes need one test.
    for (char c : cell) {
        if (static_cast<unsigned char>(c) < '-' &&
            (c == ',' || c == '"' || c == '\n' || c == '\r')) {
            return true;
        }
    }
    return false;
}

bool IsNumber(std::string_view text) {
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        text.remove_prefix(1);
    }
    bool digits = false;
    bool point = false;
    for (char c : text) {
        if (c == '.' && !point) {
            point = true;
        } else if (c >= '0' && c <= '9') {
            digits = true;
        } else {
            return false;
        }
    }
    return digits;
}

} // namespace

void BuildRows(const ScanEntry& entry, std::string_view linkBase, ParsedName& parsed,
               std::vector<CLineOne>& rows) {
    ParseFileName(entry.fileName, parsed);
    if (parsed.date.empty()) {
        rows.clear();
        return;
    }
    const std::string_view path = linkBase.empty() ? std::string_view(entry.fullPath)
                                                   : MakeRelativePath(entry.fullPath, linkBase);
    rows.resize(parsed.amounts.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        CLineOne& row = rows[i];
        row.type = entry.typeFolder;
        row.date = parsed.date;
        row.company = parsed.company;
        AssignWithout(row.amount, parsed.amounts[i], ',');
        row.remark = parsed.remark;
        row.path = path;
    }
}

void MakeCells(const CLineOne& row, IndexBookCells& cells) {
    std::string_view prefix;
    std::string_view remark = row.remark;
    if (remark.starts_with(kPrefixOpen)) {
        const auto close = remark.find(kPrefixClose);
        if (close != std::string_view::npos) {
            prefix = remark.substr(0, close + kPrefixClose.size());
            remark.remove_prefix(prefix.size());
        }
    }
    cells.type = row.type;
    AssignWithout(cells.date, row.date, '_');
    cells.company = row.company;
    cells.typePrefix = prefix;
    cells.remark = remark;
    cells.path = row.path;
}

std::string IndexBookHeader() {
    return "種類,年月日,取引先名,金額,備考(種別),備考,ファイルパス,リンク先を開く";
}

bool StartsAsFormula(std::string_view cell) {
    if (cell.empty()) {
        return false;
    }
    const char first = cell.front();
    return first == '=' || first == '+' || first == '-' || first == '@' || first == '\t' ||
           first == '\r';
}

void AppendWrittenCell(std::string& out, std::string_view cell, bool alwaysQuoted) {
    const bool quoted = alwaysQuoted || NeedsQuotes(cell);
    if (quoted) {
        out.push_back('"');
    }
    if (StartsAsFormula(cell)) {
        out.push_back('\'');
    }
    if (quoted) {
        AppendQuotesDoubled(out, cell);
        out.push_back('"');
    } else {
        out.append(cell);
    }
}

void AppendAmountCell(std::string& out, std::string_view amount) {
    if (IsNumber(amount)) {
        out.append(amount);
    } else {
        AppendWrittenCell(out, amount, false);
    }
}

void AppendQuotesDoubled(std::string& out, std::string_view text) {
    for (auto quote = text.find('"'); quote != std::string_view::npos; quote = text.find('"')) {
        out.append(text.substr(0, quote + 1));
        out.push_back('"');
        text.remove_prefix(quote + 1);
    }
    out.append(text);
}

void AppendIndexBookLine(std::string& out, const std::array<std::string_view, 7>& writtenCells,
                         std::size_t lineNumber) {
    for (const std::string_view cell : writtenCells) {
        out.append(cell);
        out.push_back(',');
    }
    out.append("=HYPERLINK(G");
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, lineNumber).ptr;
    out.append(digits, end);
    out.push_back(')');
}

} // namespace fmb
