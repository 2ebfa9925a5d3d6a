#include "platform/Clock.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace fmb {

namespace {

std::tm LocalTime(std::time_t now) {
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    return local;
}

} // namespace

LocalDate SystemClock::Today() const {
    const std::tm local = LocalTime(std::time(nullptr));
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

std::string TimestampWithOffset(const std::tm& local, std::time_t at) {
    using namespace std::chrono;
    // The offset is what the local fields, read as UTC, are ahead of the moment itself; strftime's
    // %z cannot be used, as Windows' C library writes the zone's name there.
    const sys_seconds fieldsAsUtc =
        sys_days{year{local.tm_year + 1900} / (local.tm_mon + 1) / local.tm_mday} +
        hours{local.tm_hour} + minutes{local.tm_min} + seconds{local.tm_sec};
    const auto offsetMinutes =
        duration_cast<minutes>(fieldsAsUtc - sys_seconds{seconds{at}}).count();
    const auto shown = std::abs(offsetMinutes);
    char text[80] = {};
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d%c%02d:%02d",
                  local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                  local.tm_min, local.tm_sec, offsetMinutes < 0 ? '-' : '+',
                  static_cast<int>(shown / 60), static_cast<int>(shown % 60));
    return text;
}

std::string LocalTimestamp() {
    const std::time_t now = std::time(nullptr);
    return TimestampWithOffset(LocalTime(now), now);
}

} // namespace fmb
