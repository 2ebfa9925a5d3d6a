#pragma once

#include "platform/Reporter.h"

#include <ostream>

namespace fmb::cli {

// Tells the core's messages on a stream (standard error), one message per line.
class StreamReporter final : public Reporter {
public:
    explicit StreamReporter(std::ostream& stream) : m_stream(stream) {}
    void Notify(const std::string& message) override { m_stream << message << '\n'; }

private:
    std::ostream& m_stream;
};

} // namespace fmb::cli
