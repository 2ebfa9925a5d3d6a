#include "jobs/ProgressText.h"

#include <gtest/gtest.h>

namespace fmb {
namespace {

constexpr std::uint64_t kMiB = 1024 * 1024;

TEST(ProgressTextTest, ByteSizes) {
    const std::pair<std::uint64_t, const char*> cases[] = {
        {0, "0 バイト"},
        {1023, "1023 バイト"},
        {1024, "1.0 KB"},
        {1536, "1.5 KB"},
        {230 * kMiB, "230 MB"},
        {1288490189, "1.2 GB"}, // 1.2 GiB
        {40ull * 1024 * kMiB, "40 GB"},
    };
    for (const auto& [bytes, text] : cases)
        EXPECT_EQ(ByteSizeText(bytes), text) << bytes;
}

TEST(ProgressTextTest, TimeLeft) {
    const std::pair<std::uint64_t, const char*> cases[] = {
        {0, "残り 約1秒"},   {40, "残り 約40秒"},    {89, "残り 約1分"},
        {180, "残り 約3分"}, {3600, "残り 約1時間"}, {3900, "残り 約1時間5分"},
    };
    for (const auto& [seconds, text] : cases)
        EXPECT_EQ(TimeLeftText(seconds), text) << seconds;
}

TEST(ProgressTextTest, EstimateWaitsForTheCountTimeAndSomeWork) {
    JobSnapshot s;
    s.itemsTotal = 100;
    s.bytesTotal = 1000 * kMiB;
    s.bytesDone = 250 * kMiB;
    EXPECT_FALSE(SecondsLeft(s, 10.0)) << "the count goes on";
    s.totalFinal = true;
    EXPECT_FALSE(SecondsLeft(s, 1.0)) << "too early";
    EXPECT_EQ(SecondsLeft(s, 10.0), 30u) << "a quarter in ten seconds";
    s.cancelRequested = true;
    EXPECT_FALSE(SecondsLeft(s, 10.0)) << "stopping";
    s.cancelRequested = false;
    s.bytesDone = s.bytesTotal;
    EXPECT_FALSE(SecondsLeft(s, 10.0)) << "all done";
    s.bytesDone = 0;
    EXPECT_FALSE(SecondsLeft(s, 10.0)) << "nothing done yet";

    // Without data to copy, files set the pace.
    JobSnapshot rows;
    rows.totalFinal = true;
    rows.itemsTotal = 10;
    rows.itemsDone = 5;
    EXPECT_EQ(SecondsLeft(rows, 4.0), 4u);
}

TEST(ProgressTextTest, ShareDoneFollowsBytesAndNeverPassesTheWhole) {
    JobSnapshot s;
    s.itemsTotal = 4;
    s.itemsDone = 3;
    s.bytesTotal = 1000;
    s.bytesDone = 100;
    EXPECT_FALSE(PermilleDone(s));
    s.totalFinal = true;
    EXPECT_EQ(PermilleDone(s), 100) << "bytes, not files";
    s.bytesDone = 5000;
    EXPECT_EQ(PermilleDone(s), 1000);
    JobSnapshot empty;
    empty.totalFinal = true;
    EXPECT_EQ(PermilleDone(empty), 1000) << "nothing to do is all done";
}

TEST(ProgressTextTest, CopyLineWhileCountingThenWithTimeLeft) {
    JobSnapshot s;
    s.itemsDone = 120;
    s.itemsTotal = 5678;
    s.bytesDone = 1288490189;
    s.bytesTotal = 40ull * 1024 * kMiB;
    EXPECT_EQ(CopyProgressText(s, 60.0), "120 / 5,678 ファイル　1.2 GB / 40 GB（数えています）");
    s.totalFinal = true;
    s.bytesDone = 10ull * 1024 * kMiB;
    EXPECT_EQ(CopyProgressText(s, 60.0), "120 / 5,678 ファイル　10 GB / 40 GB　残り 約3分");
}

TEST(ProgressTextTest, ExportLineAndCancelMessage) {
    JobSnapshot s;
    s.foldersDone = 120;
    s.itemsDone = 4567;
    EXPECT_EQ(ExportProgressText(s), "フォルダ 120 件、行 4,567 件");
    EXPECT_EQ(CancelledCopyMessage(1234, 5678),
              "1,234 / 5,678 ファイルをコピーしました。中止しました。");
}

} // namespace
} // namespace fmb
