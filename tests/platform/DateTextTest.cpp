#include "platform/DateText.h"

#include "platform/Clock.h"

#include "support/FixedClock.h"

#include <gtest/gtest.h>

namespace fmb {
namespace {

TEST(DateText, TodayIsEightZeroPaddedDigits) {
    EXPECT_EQ(TodayText(test::FixedClock({2024, 7, 5})), "20240705");
    EXPECT_EQ(TodayText(test::FixedClock({987, 1, 2})), "09870102");
}

TEST(DateText, MonthEndsFollowTheLeapYearRule) {
    const struct {
        LocalDate today;
        int offset;
        const char* expected;
    } cases[] = {
        {{2024, 2, 15}, 0, "20240229"},  {{2000, 2, 15}, 0, "20000229"},
        {{2023, 2, 15}, 0, "20230228"},  {{2100, 2, 15}, 0, "21000228"},
        {{2024, 1, 10}, -1, "20231231"}, {{2024, 3, 31}, -1, "20240229"},
        {{2024, 4, 1}, 0, "20240430"},   {{2024, 12, 3}, 0, "20241231"},
        {{2024, 10, 3}, -1, "20240930"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MonthEndText(c.offset, test::FixedClock(c.today)), c.expected)
            << c.today.year << "-" << c.today.month << " offset " << c.offset;
    }
}

TEST(DateText, DaysOfAnyYearAreWrittenAndReadBack) {
    EXPECT_EQ(DateText({2025, 3, 3}), "20250303");
    EXPECT_EQ(DateText({100, 1, 1}), "01000101");
    EXPECT_EQ(DateText({9999, 12, 31}), "99991231");

    const LocalDate day = DateOfText("20240705");
    EXPECT_EQ(day.year, 2024);
    EXPECT_EQ(day.month, 7);
    EXPECT_EQ(day.day, 5);
    const LocalDate partial = DateOfText("2024");
    EXPECT_EQ(partial.year, 2024);
    EXPECT_EQ(partial.month, 0);
    EXPECT_EQ(partial.day, 0);
}

// A ledger record's time carries the local offset from UTC, whichever side of it and with
// half hours; the moment is 2026-12-10 05:18:22 UTC.
TEST(DateText, TimestampsCarryTheLocalOffsetFromUtc) {
    constexpr std::time_t kMoment = 1796879902;
    const auto local = [](int year, int month, int day, int hour, int minute) {
        std::tm fields{};
        fields.tm_year = year - 1900;
        fields.tm_mon = month - 1;
        fields.tm_mday = day;
        fields.tm_hour = hour;
        fields.tm_min = minute;
        fields.tm_sec = 22;
        return fields;
    };
    EXPECT_EQ(TimestampWithOffset(local(2026, 12, 10, 14, 18), kMoment),
              "2026-12-10T14:18:22+09:00");
    EXPECT_EQ(TimestampWithOffset(local(2026, 12, 10, 5, 18), kMoment),
              "2026-12-10T05:18:22+00:00");
    EXPECT_EQ(TimestampWithOffset(local(2026, 12, 9, 23, 48), kMoment),
              "2026-12-09T23:48:22-05:30");
    EXPECT_EQ(TimestampWithOffset(local(2026, 12, 10, 10, 48), kMoment),
              "2026-12-10T10:48:22+05:30");
}

} // namespace
} // namespace fmb
