#include "ledger/LedgerLog.h"

#include "index/IndexBook.h"
#include "ledger/LedgerFiling.h"
#include "platform/Cp932.h"
#include "platform/ErrorText.h"
#include "platform/PathText.h"
#include "platform/TemporaryFile.h"

#include <array>
#include <filesystem>

namespace fmb {
namespace {

constexpr std::array<const char*, 16> kTitles = {
    "日時", "操作",    "保存パス",    "元の保存パス",     "旧版の保管先", "種類",
    "日付", "会社名",  "金額",        "追加金額",         "備考",         "処理担当者",
    "理由", "SHA-256", "元のSHA-256", "コンピューター名",
};

std::string Line(const std::array<std::string_view, kTitles.size()>& cells) {
    std::string line;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0) {
            line += ',';
        }
        AppendWrittenCell(line, cells[i], false);
    }
    return line + '\n';
}

} // namespace

LogExport WriteChangeLog(const Ledger& ledger, const std::string& outputPath, bool all) {
    LogExport result;
    const LedgerContents contents = ledger.Read();
    if (contents.error || !contents.exists) {
        result.message = contents.exists ? LedgerUnreadableMessage(ledger, contents.error)
                                         : "台帳がありません。\n\n" + ledger.FileText();
        return result;
    }
    std::array<std::string_view, kTitles.size()> titles;
    std::copy(kTitles.begin(), kTitles.end(), titles.begin());
    std::string text = Line(titles);
    for (const LedgerRecord& r : contents.records) {
        if (!all && r.operation != kOpCorrected && r.operation != kOpDeleted) {
            continue;
        }
        text += Line({r.time, r.operation, r.path, r.earlierPath, r.keptPath, r.type, r.date,
                      r.company, r.amount, r.extra, r.remark, r.person, r.reason, r.sha256,
                      r.earlierSha256, r.computer});
        ++result.rows;
    }
    const cp932::Encoded encoded = cp932::Encode(text);
    const std::filesystem::path path = ToFsPath(outputPath);
    std::error_code error;
    // A bare file name lies in the current folder.
    TemporaryFile file(path.has_parent_path() ? path.parent_path() : std::filesystem::path("."),
                       error);
    if (!error) {
        error = file.TakePermissionsOf(path);
    }
    if (!error) {
        error = file.Write(encoded.bytes);
    }
    if (!error) {
        error = file.WriteThrough();
    }
    if (!error) {
        error = file.ReplaceAs(path);
    }
    if (error) {
        result.message =
            "訂正削除記録を書き込めませんでした。\n\n" + outputPath + "\n" + DescribeError(error);
        return result;
    }
    result.ok = true;
    result.message = "訂正削除記録を出力しました。\n\n" + outputPath;
    if (!encoded.Ok()) {
        result.message += "\n\nShift_JIS にない文字は「?」で出力しました。";
    }
    return result;
}

} // namespace fmb
