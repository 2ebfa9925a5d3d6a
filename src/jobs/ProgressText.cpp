#include "jobs/ProgressText.h"

#include "filing/AmountText.h"

#include <algorithm>
#include <cstdio>

namespace fmb {
namespace {

// Before this much time and this share of the work, the pace says little about the rest.
constexpr double kMinSecondsForEstimate = 2.0;
constexpr double kMinShareForEstimate = 0.01;

std::string Count(std::uint64_t n) {
    return FormatThousands(std::to_string(n));
}

// The done count never shows above the total, whatever order the counters were read in.
std::uint64_t Capped(std::uint64_t done, std::uint64_t total) {
    return std::min(done, total);
}

} // namespace

std::string ByteSizeText(std::uint64_t bytes) {
    static constexpr const char* kUnits[] = {"KB", "MB", "GB", "TB"};
    if (bytes < 1024)
        return std::to_string(bytes) + " バイト";
    double value = static_cast<double>(bytes) / 1024.0;
    std::size_t unit = 0;
    while (value >= 1024.0 && unit + 1 < std::size(kUnits)) {
        value /= 1024.0;
        ++unit;
    }
    char text[32];
    std::snprintf(text, sizeof text, value < 10.0 ? "%.1f %s" : "%.0f %s", value, kUnits[unit]);
    return text;
}

std::optional<std::uint64_t> SecondsLeft(const JobSnapshot& snapshot, double elapsedSeconds) {
    if (!snapshot.totalFinal || elapsedSeconds < kMinSecondsForEstimate)
        return std::nullopt;
    const bool byBytes = snapshot.bytesTotal > 0;
    const double done = static_cast<double>(byBytes ? snapshot.bytesDone : snapshot.itemsDone);
    const double total = static_cast<double>(byBytes ? snapshot.bytesTotal : snapshot.itemsTotal);
    // Once the work is over, or stopping, there is nothing left to wait for.
    if (total <= 0.0 || done / total < kMinShareForEstimate || done >= total ||
        snapshot.cancelRequested)
        return std::nullopt;
    const double left = std::max(0.0, total - done) * elapsedSeconds / done;
    return static_cast<std::uint64_t>(left + 0.5);
}

std::string TimeLeftText(std::uint64_t seconds) {
    if (seconds < 60)
        return "残り 約" + std::to_string(std::max<std::uint64_t>(seconds, 1)) + "秒";
    const std::uint64_t minutes = (seconds + 30) / 60;
    if (minutes < 60)
        return "残り 約" + std::to_string(minutes) + "分";
    const std::string hours = std::to_string(minutes / 60) + "時間";
    return "残り 約" + hours + (minutes % 60 ? std::to_string(minutes % 60) + "分" : "");
}

std::optional<int> PermilleDone(const JobSnapshot& snapshot) {
    if (!snapshot.totalFinal)
        return std::nullopt;
    const bool byBytes = snapshot.bytesTotal > 0;
    const std::uint64_t total = byBytes ? snapshot.bytesTotal : snapshot.itemsTotal;
    if (total == 0)
        return 1000;
    const std::uint64_t done = Capped(byBytes ? snapshot.bytesDone : snapshot.itemsDone, total);
    return static_cast<int>(done * 1000 / total);
}

std::string CopyProgressText(const JobSnapshot& snapshot, double elapsedSeconds) {
    std::string text = Count(Capped(snapshot.itemsDone, snapshot.itemsTotal)) + " / " +
                       Count(snapshot.itemsTotal) + " ファイル　" +
                       ByteSizeText(Capped(snapshot.bytesDone, snapshot.bytesTotal)) + " / " +
                       ByteSizeText(snapshot.bytesTotal);
    if (!snapshot.totalFinal)
        return text + "（数えています）";
    if (const auto left = SecondsLeft(snapshot, elapsedSeconds))
        text += "　" + TimeLeftText(*left);
    return text;
}

std::string ExportProgressText(const JobSnapshot& snapshot) {
    return "フォルダ " + Count(snapshot.foldersDone) + " 件、行 " + Count(snapshot.itemsDone) +
           " 件";
}

std::string CancelledCopyMessage(std::uint64_t filesDone, std::uint64_t filesTotal) {
    return Count(filesDone) + " / " + Count(filesTotal) +
           " ファイルをコピーしました。中止しました。";
}

} // namespace fmb
