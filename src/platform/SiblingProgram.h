#pragma once

#include <string>
#include <system_error>
#include <vector>

namespace fmb {

// Runs the program called name that lies in the running program's folder, with args, sharing
// this process's standard input, output and error, and waits for it. Its exit status; -1 with
// error set when it could not be started, or 128 + the signal when a signal ended it.
int RunSiblingProgram(const std::string& name, const std::vector<std::string>& args,
                      std::error_code& error);

} // namespace fmb
