#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace fmb::cli {

// Runs fumibako-cli with its arguments (without the program's name); returns the exit status.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace fmb::cli
