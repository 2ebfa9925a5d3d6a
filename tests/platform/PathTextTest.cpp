#include "platform/PathText.h"

#include <gtest/gtest.h>

namespace fmb {
namespace {

TEST(PathText, AddTrailingBackslashAppendsOnlyWhenMissing) {
    const std::string sep(1, kPathSeparator);
    std::string folder = "書類";
    EXPECT_EQ(AddTrailingBackslash(folder), 1);
    EXPECT_EQ(folder, "書類" + sep);
    EXPECT_EQ(AddTrailingBackslash(folder), 0);
    EXPECT_EQ(folder, "書類" + sep);
    std::string empty;
    EXPECT_EQ(AddTrailingBackslash(empty), 0);
    EXPECT_EQ(empty, "");
    // Long texts are kept whole.
    std::string longFolder(400, 'x');
    AddTrailingBackslash(longFolder);
    EXPECT_EQ(longFolder.size(), 401u);
}

TEST(PathText, LastComponent) {
    const std::string sep(1, kPathSeparator);
    EXPECT_EQ(LastComponent(sep + "data" + sep + "書類"), "書類");
    EXPECT_EQ(LastComponent("書類"), "書類");
    EXPECT_EQ(LastComponent(sep + "data" + sep + "書類" + sep), "");
}

} // namespace
} // namespace fmb
