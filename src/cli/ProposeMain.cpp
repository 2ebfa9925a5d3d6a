// fumibako-propose FILE [OPTIONS]: what "fumibako-cli propose" runs (see ProposeCommand.h).
#include "cli/ProposeCommand.h"
#include "platform/CommandLine.h"

#include <iostream>

int main(int argc, char** argv) {
    fmb::UseUtf8Console();
    return fmb::cli::ProposeFromDocument(fmb::CommandLineArguments(argc, argv), std::cout,
                                         std::cerr);
}
