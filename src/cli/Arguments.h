#pragma once

#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace fmb::cli {

// Exit statuses of fumibako-cli.
inline constexpr int kExitOk = 0;
inline constexpr int kExitRefused = 1; // the command ran and refused or failed; the reason is told
inline constexpr int kExitUsage = 2;   // the command line itself is wrong

// One option a command accepts, written "--name value", "--name=value" or, without a value,
// "--name".
struct OptionRule {
    std::string name; // without the leading "--"
    bool takesValue = true;
    int maxCount = 1; // how often it may be given
};

struct ParsedArguments {
    std::map<std::string, std::vector<std::string>> options; // values in command-line order
    std::vector<std::string> operands;

    bool Has(const std::string& name) const { return options.count(name) > 0; }
    // The value of an option given once, or the fallback when it was not given.
    std::string Value(const std::string& name, const std::string& fallback = "") const;
    // Every value of a repeatable option, in order.
    std::vector<std::string> Values(const std::string& name) const;
};

struct ParseOutcome {
    ParsedArguments arguments;
    std::optional<std::string> error; // a sentence for the user when the command line is wrong
};

// Reads the arguments of one command. "--" ends the options; every later argument is an
// operand, as is a lone "-". An option that needs a value takes the next argument unless that
// one is itself an option ("--..."); write "--name=--text" for such a value.
ParseOutcome ParseArguments(const std::vector<std::string>& args,
                            const std::vector<OptionRule>& rules);

// Reads the command line of a command that takes exactly operandCount operands and the given
// options (--help besides). Returns nothing when the command is done with: help was shown through
// writeHelp, or the command line is wrong and err was told (operandsMissing when the operands do
// not match); exitStatus then holds the status.
std::optional<ParsedArguments> ReadCommandLine(const std::vector<std::string>& args,
                                               std::vector<OptionRule> rules,
                                               std::size_t operandCount,
                                               const std::string& operandsMissing,
                                               void (*writeHelp)(std::ostream&), std::ostream& out,
                                               std::ostream& err, int& exitStatus);

// Tells err what is wrong with the command line and where help is; returns kExitUsage.
int ReportUsageError(std::ostream& err, const std::string& message);

} // namespace fmb::cli
