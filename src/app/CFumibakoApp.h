#pragma once

#include "platform/Environment.h"

namespace fmb {

// The desktop program: names the application for the desktop, then runs the filing window until
// the user closes it. main() makes the QApplication and the Qt ports and hands them in.
class CFumibakoApp {
public:
    explicit CFumibakoApp(const Environment& env) : m_env(env) {}

    // Runs the program; returns its exit status, 0.
    int InitInstance();

private:
    Environment m_env;
};

} // namespace fmb
