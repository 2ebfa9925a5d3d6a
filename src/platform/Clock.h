#pragma once

#include <ctime>
#include <string>

namespace fmb {

struct LocalDate {
    int year = 1970;
    int month = 1;
    int day = 1;
};

// The clock the program asks for today's date; tests install a fixed one.
class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalDate Today() const = 0;
};

class SystemClock final : public Clock {
public:
    LocalDate Today() const override;
};

// The local date and time now with its offset from UTC, e.g. 2026-12-10T14:18:22+09:00.
std::string LocalTimestamp();

// The local date and time of the moment at, given as local, in the form of LocalTimestamp.
std::string TimestampWithOffset(const std::tm& local, std::time_t at);

} // namespace fmb
