#pragma once

#include "platform/Clock.h"

namespace fmb::test {

// A clock that always tells the date it was set to.
class FixedClock final : public Clock {
public:
    explicit FixedClock(LocalDate today) : m_today(today) {}
    LocalDate Today() const override { return m_today; }
    void Set(LocalDate today) { m_today = today; }

private:
    LocalDate m_today;
};

} // namespace fmb::test
