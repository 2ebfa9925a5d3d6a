#include "cli/Cli.h"

#include "cli/Arguments.h"
#include "cli/FilingCommands.h"
#include "cli/LedgerCommands.h"
#include "cli/ProposeCommand.h"
#include "cli/SearchCommand.h"
#include "cli/StorageCommands.h"
#include "platform/Clock.h"

namespace fmb::cli {
namespace {

void WriteHelp(std::ostream& out) {
    out << R"(fumibako-cli: the core of ふみばこ from a shell.

Usage: fumibako-cli COMMAND [OPTIONS] [ARGUMENTS]
       fumibako-cli --help

Exit status: 0 done, 1 refused or failed (the reason is on standard error),
2 wrong command line (for search also a field it cannot search), 130 stopped by Ctrl+C or SIGTERM
(index, backup, verify).

)";
    WriteFilingHelp(out);
    out << '\n';
    WriteStorageHelp(out);
    out << '\n';
    WriteLedgerHelp(out);
    out << '\n';
    WriteSearchHelp(out);
    out << '\n';
    WriteProposeHelp(out);
}

} // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        WriteHelp(err);
        return kExitUsage;
    }
    const std::string& command = args.front();
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (command == "--help" || command == "-h" || command == "help") {
        WriteHelp(out);
        return kExitOk;
    }
    if (command == "compose") {
        return RunCompose(rest, out, err);
    }
    if (command == "file") {
        return RunFile(rest, out, err);
    }
    if (command == "propose") {
        return RunPropose(rest, out, err);
    }
    if (command == "index") {
        return RunIndex(rest, out, err);
    }
    if (command == "search") {
        return RunSearch(rest, out, err);
    }
    if (command == "backup") {
        return RunBackup(rest, out, err, SystemClock());
    }
    if (command == "verify") {
        return RunVerify(rest, out, err);
    }
    if (command == "adopt") {
        return RunAdopt(rest, out, err);
    }
    if (command == "correct") {
        return RunCorrect(rest, out, err);
    }
    if (command == "delete") {
        return RunDelete(rest, out, err);
    }
    if (command == "log") {
        return RunLog(rest, out, err);
    }
    return ReportUsageError(err, "unknown command " + command);
}

} // namespace fmb::cli
