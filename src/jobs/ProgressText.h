#pragma once

#include "jobs/JobMonitor.h"

#include <cstdint>
#include <optional>
#include <string>

namespace fmb {

// What a progress display shows of a job: texts for its lines and the share done for its bar.
// Decided here, without a window, so the dialogs and the command line say the same.

// "1.5 GB", "230 MB", "12 KB", "512 バイト": one decimal below ten units, none above.
std::string ByteSizeText(std::uint64_t bytes);

// Seconds until the job ends at the pace so far, once that can be told: the count has ended,
// a few seconds have passed and some of the work is done; nothing once it is all done or the job
// is stopping. Bytes set the pace where the job copies data, files otherwise.
std::optional<std::uint64_t> SecondsLeft(const JobSnapshot& snapshot, double elapsedSeconds);

// "残り 約3分", "残り 約40秒", "残り 約1時間5分".
std::string TimeLeftText(std::uint64_t seconds);

// The share of the work done, 0 to 1000; nothing while the count goes on.
std::optional<int> PermilleDone(const JobSnapshot& snapshot);

// A copy's first line: "120 / 5,678 ファイル　1.2 GB / 40 GB　残り 約3分", with
// "（数えています）" after the totals while they still grow.
std::string CopyProgressText(const JobSnapshot& snapshot, double elapsedSeconds);

// The index export's line: "フォルダ 120 件、行 4,567 件".
std::string ExportProgressText(const JobSnapshot& snapshot);

// The end message of a copy the user cancelled: "1,234 / 5,678
// ファイルをコピーしました。中止しました。"
std::string CancelledCopyMessage(std::uint64_t filesDone, std::uint64_t filesTotal);

} // namespace fmb
