#include "cli/Arguments.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace fmb::cli {
namespace {

using ::testing::ElementsAre;

const std::vector<OptionRule> kSpecs = {{"date", true, 1}, {"extra", true, 3}, {"help", false, 1}};

TEST(ParseArguments, ReadsBothValueFormsAndOperands) {
    const ParseOutcome outcome = ParseArguments(
        {"a.pdf", "--date", "20221231", "--extra=-5", "--extra", "-6", "--help", "--", "--date"},
        kSpecs);
    ASSERT_FALSE(outcome.error) << *outcome.error;
    const ParsedArguments& parsed = outcome.arguments;
    EXPECT_EQ(parsed.Value("date"), "20221231");
    // A value may begin with a single dash (a negative amount).
    EXPECT_THAT(parsed.Values("extra"), ElementsAre("-5", "-6"));
    EXPECT_TRUE(parsed.Has("help"));
    EXPECT_THAT(parsed.operands, ElementsAre("a.pdf", "--date"));
    EXPECT_EQ(parsed.Value("missing", "fallback"), "fallback");
    EXPECT_TRUE(parsed.Values("missing").empty());
}

TEST(ParseArguments, RefusesWrongCommandLines) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--colour", "red"}, "unknown option --colour"},
        {{"-x"}, "unknown option -x"},
        {{"--date"}, "option --date needs a value"},
        // Another option where the value should be is a forgotten value, not the value.
        {{"--date", "--help"}, "option --date needs a value"},
        {{"--help=yes"}, "option --help takes no value"},
        {{"--date", "1", "--date", "2"}, "option --date is given more than once"},
        {{"--extra", "1", "--extra", "2", "--extra", "3", "--extra", "4"},
         "option --extra can be given at most 3 times"},
    };
    for (const auto& [args, message] : cases) {
        const ParseOutcome outcome = ParseArguments(args, kSpecs);
        ASSERT_TRUE(outcome.error.has_value()) << message;
        EXPECT_EQ(*outcome.error, message);
    }
    // An empty value written with "=" is a value.
    EXPECT_FALSE(ParseArguments({"--date="}, kSpecs).error);
}

} // namespace
} // namespace fmb::cli
