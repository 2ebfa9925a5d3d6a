#include "platform/ErrorText.h"

#include <cerrno>

namespace fmb {
namespace {

constexpr const char* kSourceChangedText =
    "コピーの途中でコピー元ファイルが変更されました。もう一度実行してください。";

constexpr const char* kDiskFullText = "ディスクの空き容量が足りません。";

class CopyErrorCategory final : public std::error_category {
public:
    const char* name() const noexcept override { return "fumibako-copy"; }
    std::string message(int) const override { return kSourceChangedText; }
};

const CopyErrorCategory& CopyErrors() {
    static const CopyErrorCategory category;
    return category;
}

} // namespace

std::error_code SourceChangedError() {
    return {1, CopyErrors()};
}

std::string DescribeError(const std::error_code& error) {
    if (error.category() == CopyErrors()) {
        return error.message();
    }
    if (error.category() == std::generic_category() || error.category() == std::system_category()) {
#ifdef EDQUOT
        // Over the user's disk quota: as full as a full disk, as far as the user can tell.
        if (error.default_error_condition().value() == EDQUOT) {
            return kDiskFullText;
        }
#endif
        switch (static_cast<std::errc>(error.default_error_condition().value())) {
        case std::errc::no_such_file_or_directory:
            return "ファイルまたはフォルダが見つかりません。";
        case std::errc::permission_denied:
        case std::errc::operation_not_permitted:
            return "アクセスが拒否されました。";
        case std::errc::no_space_on_device:
            return kDiskFullText;
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
        case std::errc::device_or_resource_busy:
        case std::errc::text_file_busy:
            return "ファイルが使用中です。";
        case std::errc::file_too_large:
            return "ファイルが大きすぎます。";
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
