#include "platform/DesktopOpen.h"

namespace fmb {

void OpenPathOrTell(const Environment& env, const std::string& path) {
    if (path.empty()) {
        env.messages.Notice("開くファイル（フォルダ）が指定されていません。");
        return;
    }
    if (!env.shell.OpenPath(path)) {
        env.messages.Notice("「" + path +
                            "」を開けませんでした。\n\nファイル（フォルダ）がないか、開くプログラム"
                            "が見つかりません。");
    }
}

void OpenUrlOrTell(const Environment& env, const std::string& url) {
    if (!env.shell.OpenUrl(url)) {
        env.messages.Notice("「" + url +
                            "」を開けませんでした。\n\nWebブラウザが使えるか、確認してください。");
    }
}

} // namespace fmb
