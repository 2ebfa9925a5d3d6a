#include "cli/Cli.h"

#include <iostream>

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    return fmb::cli::RunCli(args, std::cout, std::cerr);
}
