#pragma once

#include <string>

namespace fmb {

// Where the core tells the user what went wrong (or right). The window shows a message box with
// an OK button; the command line prints to standard error.
class Reporter {
public:
    virtual ~Reporter() = default;
    virtual void Notify(const std::string& message) = 0;
};

} // namespace fmb
