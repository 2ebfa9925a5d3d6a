#include "platform/Clock.h"

#include <ctime>
#include <string_view>

namespace fmb {

namespace {

std::tm LocalNow() {
    const std::time_t now = std::time(nullptr);
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
    const std::tm local = LocalNow();
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

std::string LocalTimestamp() {
    const std::tm local = LocalNow();
    char text[40] = {};
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S%z", &local);
    // +0900 becomes +09:00, as dates with offsets are usually written.
    const std::string_view stamp = text;
    if (stamp.size() < 5) {
        return std::string(stamp);
    }
    return std::string(stamp.substr(0, stamp.size() - 2)) + ":" +
           std::string(stamp.substr(stamp.size() - 2));
}

} // namespace fmb
