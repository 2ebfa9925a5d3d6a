#include "cli/Cli.h"
#include "cli/JobProgress.h"

#include <iostream>

int main(int argc, char** argv) {
    // Ctrl+C or a TERM from the system stops a backup or an export the way a cancel does.
    fmb::cli::CatchInterrupts();
    const std::vector<std::string> args(argv + 1, argv + argc);
    return fmb::cli::RunCli(args, std::cout, std::cerr);
}
