#include "ledger/LedgerRecord.h"

#include "platform/Sha256.h"

#include <array>
#include <charconv>
#include <vector>

namespace fmb {
namespace {

constexpr std::array<const char*, 21> kColumnTitles = {
    "日時",         "操作",       "保存パス",    "サイズ",       "SHA-256",
    "元の保存パス", "元のサイズ", "元のSHA-256", "旧版の保管先", "種類",
    "日付",         "会社名",     "金額",        "追加金額",     "備考",
    "元ファイル名", "処理担当者", "理由",        "注記",         "コンピューター名",
    "連鎖",
};

void AppendEscaped(std::string& out, std::string_view field) {
    for (const char c : field) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out.push_back(c);
        }
    }
}

std::optional<std::string> Unescaped(std::string_view field) {
    std::string text;
    text.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] != '\\') {
            text.push_back(field[i]);
            continue;
        }
        if (++i == field.size()) {
            return std::nullopt;
        }
        switch (field[i]) {
        case '\\':
            text.push_back('\\');
            break;
        case 't':
            text.push_back('\t');
            break;
        case 'n':
            text.push_back('\n');
            break;
        case 'r':
            text.push_back('\r');
            break;
        default:
            return std::nullopt;
        }
    }
    return text;
}

std::optional<std::uint64_t> Number(std::string_view text) {
    std::uint64_t value = 0;
    if (text.empty()) {
        return 0;
    }
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::string SizeText(const std::string& hash, std::uint64_t size) {
    // A record without content (a deletion has no new document) has no size either.
    return hash.empty() ? std::string() : std::to_string(size);
}

} // namespace

std::string LedgerHeaderLine() {
    std::string line = "# ふみばこ台帳";
    for (const char* title : kColumnTitles) {
        line += '\t';
        line += title;
    }
    return line;
}

std::string RecordContent(const LedgerRecord& r) {
    const std::array<std::string, 20> fields = {
        r.time,
        r.operation,
        r.path,
        SizeText(r.sha256, r.size),
        r.sha256,
        r.earlierPath,
        SizeText(r.earlierSha256, r.earlierSize),
        r.earlierSha256,
        r.keptPath,
        r.type,
        r.date,
        r.company,
        r.amount,
        r.extra,
        r.remark,
        r.sourceName,
        r.person,
        r.reason,
        r.note,
        r.computer,
    };
    std::string content;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) {
            content += '\t';
        }
        AppendEscaped(content, fields[i]);
    }
    return content;
}

std::string ChainValue(std::string_view previous, std::string_view content) {
    Sha256 hash;
    hash.Update(previous);
    hash.Update("\n", 1);
    hash.Update(content);
    return hash.HexDigest();
}

std::string FirstChainValue() {
    return Sha256Hex(LedgerHeaderLine());
}

std::string RecordLine(const LedgerRecord& record) {
    return RecordContent(record) + '\t' + record.chain;
}

std::string_view ContentOfLine(std::string_view line) {
    const std::size_t tab = line.rfind('\t');
    return tab == std::string_view::npos ? std::string_view() : line.substr(0, tab);
}

std::optional<LedgerRecord> ParseRecordLine(std::string_view line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = line.find('\t', start);
        const auto field = Unescaped(line.substr(start, tab - start));
        if (!field) {
            return std::nullopt;
        }
        fields.push_back(*field);
        if (tab == std::string_view::npos) {
            break;
        }
        start = tab + 1;
    }
    if (fields.size() != kColumnTitles.size()) {
        return std::nullopt;
    }
    const auto size = Number(fields[3]);
    const auto earlierSize = Number(fields[6]);
    if (!size || !earlierSize) {
        return std::nullopt;
    }
    LedgerRecord r;
    r.time = fields[0];
    r.operation = fields[1];
    r.path = fields[2];
    r.size = *size;
    r.sha256 = fields[4];
    r.earlierPath = fields[5];
    r.earlierSize = *earlierSize;
    r.earlierSha256 = fields[7];
    r.keptPath = fields[8];
    r.type = fields[9];
    r.date = fields[10];
    r.company = fields[11];
    r.amount = fields[12];
    r.extra = fields[13];
    r.remark = fields[14];
    r.sourceName = fields[15];
    r.person = fields[16];
    r.reason = fields[17];
    r.note = fields[18];
    r.computer = fields[19];
    r.chain = fields[20];
    return r;
}

} // namespace fmb
