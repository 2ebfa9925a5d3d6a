#include "cli/Cli.h"
#include "cli/JobProgress.h"
#include "platform/CommandLine.h"

#include <iostream>

int main(int argc, char** argv) {
    // Ctrl+C or a TERM from the system stops a backup or an export the way a cancel does.
    fmb::cli::CatchInterrupts();
    fmb::UseUtf8Console();
    return fmb::cli::RunCli(fmb::CommandLineArguments(argc, argv), std::cout, std::cerr);
}
