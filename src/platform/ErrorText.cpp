#include "platform/ErrorText.h"

namespace fmb {

std::string DescribeError(const std::error_code& error) {
    if (error.category() == std::generic_category() || error.category() == std::system_category()) {
        switch (static_cast<std::errc>(error.default_error_condition().value())) {
        case std::errc::no_such_file_or_directory:
            return "ファイルまたはフォルダが見つかりません。";
        case std::errc::permission_denied:
        case std::errc::operation_not_permitted:
            return "アクセスが拒否されました。";
        case std::errc::no_space_on_device:
            return "ディスクの空き容量が足りません。";
        case std::errc::is_a_directory:
            return "同じ名前のフォルダがあります。";
        case std::errc::not_a_directory:
            return "パスの途中にフォルダではないファイルがあります。";
        case std::errc::file_exists:
            return "同じ名前のファイルまたはフォルダがすでにあります。";
        case std::errc::read_only_file_system:
            return "書き込みできないドライブです。";
        case std::errc::filename_too_long:
            return "パスが長すぎます。";
        case std::errc::too_many_symbolic_link_levels:
            return "リンクが循環しています。";
        case std::errc::io_error:
            return "読み書きの途中でエラーが発生しました。";
        default:
            break;
        }
    }
    return error.message() + "（エラー番号 " + std::to_string(error.value()) + "）";
}

} // namespace fmb
