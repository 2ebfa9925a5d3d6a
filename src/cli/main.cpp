#include "cli/StorageCommands.h"

#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr const char* kUsage = "Usage: fumibako-cli COMMAND [ARGS...]\n"
                               "\n"
                               "Commands:\n"
                               "  index   write the index book (CSV) of a storage folder\n"
                               "  backup  copy a storage folder into a dated backup folder\n"
                               "\n"
                               "fumibako-cli COMMAND --help shows the help of a command.\n";

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << kUsage;
        return 2;
    }
    const std::string command = argv[1];
    const std::vector<std::string> args(argv + 2, argv + argc);
    if (command == "index") {
        return fmb::RunIndexCommand(args, std::cout, std::cerr);
    }
    if (command == "backup") {
        return fmb::RunBackupCommand(args, std::cout, std::cerr);
    }
    if (command == "-h" || command == "--help") {
        std::cout << kUsage;
        return 0;
    }
    std::cerr << "fumibako-cli: unknown command " << command << "\n\n" << kUsage;
    return 2;
}
