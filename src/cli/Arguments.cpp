#include "cli/Arguments.h"

#include <algorithm>

namespace fmb::cli {
namespace {

bool LooksLikeOption(const std::string& arg) {
    return arg.size() > 2 && arg.starts_with("--");
}

} // namespace

std::string ParsedArguments::Value(const std::string& name, const std::string& fallback) const {
    const auto it = options.find(name);
    return it == options.end() || it->second.empty() ? fallback : it->second.back();
}

std::vector<std::string> ParsedArguments::Values(const std::string& name) const {
    const auto it = options.find(name);
    return it == options.end() ? std::vector<std::string>() : it->second;
}

int ReportUsageError(std::ostream& err, const std::string& message) {
    err << "fumibako-cli: " << message << "\nTry 'fumibako-cli --help'.\n";
    return kExitUsage;
}

std::optional<ParsedArguments> ReadCommandLine(const std::vector<std::string>& args,
                                               std::vector<OptionRule> rules,
                                               std::size_t operandCount,
                                               const std::string& operandsMissing,
                                               void (*writeHelp)(std::ostream&), std::ostream& out,
                                               std::ostream& err, int& exitStatus) {
    rules.push_back({"help", false, 1});
    ParseOutcome outcome = ParseArguments(args, rules);
    if (outcome.error) {
        exitStatus = ReportUsageError(err, *outcome.error);
        return std::nullopt;
    }
    if (outcome.arguments.Has("help")) {
        writeHelp(out);
        exitStatus = kExitOk;
        return std::nullopt;
    }
    if (outcome.arguments.operands.size() != operandCount) {
        exitStatus = ReportUsageError(err, operandsMissing);
        return std::nullopt;
    }
    return std::move(outcome.arguments);
}

ParseOutcome ParseArguments(const std::vector<std::string>& args,
                            const std::vector<OptionRule>& rules) {
    ParseOutcome outcome;
    ParsedArguments& parsed = outcome.arguments;
    const auto fail = [&outcome](std::string message) {
        outcome.error = std::move(message);
        return outcome;
    };
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg == "-" || !arg.starts_with("-")) {
            parsed.operands.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (!arg.starts_with("--")) {
            return fail("unknown option " + arg);
        }
        const auto equals = arg.find('=');
        const std::string name =
            arg.substr(2, equals == std::string::npos ? std::string::npos : equals - 2);
        const auto rule = std::find_if(rules.begin(), rules.end(),
                                       [&name](const OptionRule& s) { return s.name == name; });
        if (rule == rules.end()) {
            return fail("unknown option --" + name);
        }
        std::string value;
        if (!rule->takesValue) {
            if (equals != std::string::npos) {
                return fail("option --" + name + " takes no value");
            }
        } else if (equals != std::string::npos) {
            value = arg.substr(equals + 1);
        } else if (i + 1 < args.size() && !LooksLikeOption(args[i + 1])) {
            value = args[++i];
        } else {
            return fail("option --" + name + " needs a value");
        }
        auto& values = parsed.options[name];
        if (static_cast<int>(values.size()) >= rule->maxCount) {
            return fail(rule->maxCount == 1 ? "option --" + name + " is given more than once"
                                            : "option --" + name + " can be given at most " +
                                                  std::to_string(rule->maxCount) + " times");
        }
        values.push_back(std::move(value));
    }
    return outcome;
}

} // namespace fmb::cli
