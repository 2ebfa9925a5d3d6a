#include "platform/PathText.h"

#include <gtest/gtest.h>

namespace fmb {
namespace {

TEST(PathText, WithTrailingSeparatorAppendsOnlyWhenMissing) {
    const std::string sep(1, kPathSeparator);
    EXPECT_EQ(WithTrailingSeparator("書類"), "書類" + sep);
    EXPECT_EQ(WithTrailingSeparator("書類" + sep), "書類" + sep);
    EXPECT_EQ(WithTrailingSeparator(""), "");
    // Long texts are kept whole.
    EXPECT_EQ(WithTrailingSeparator(std::string(400, 'x')).size(), 401u);
}

TEST(PathText, LastComponent) {
    const std::string sep(1, kPathSeparator);
    EXPECT_EQ(LastComponent(sep + "data" + sep + "書類"), "書類");
    EXPECT_EQ(LastComponent("書類"), "書類");
    EXPECT_EQ(LastComponent(sep + "data" + sep + "書類" + sep), "");
}

} // namespace
} // namespace fmb
