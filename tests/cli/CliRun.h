#pragma once

#include "cli/Cli.h"

#include <sstream>
#include <string>
#include <vector>

namespace fmb::cli {

// What a command of fumibako-cli, run in-process, answered.
struct CliRun {
    int status;
    std::string out;
    std::string err;
};

inline CliRun Cli(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = RunCli(args, out, err);
    return {status, out.str(), err.str()};
}

} // namespace fmb::cli
