#include "platform/TemporaryName.h"

#include <gtest/gtest.h>

#include <set>

namespace fmb {
namespace {

TEST(TemporaryNameTest, MadeNamesAreRecognisedAndDiffer) {
    std::set<std::string> seen;
    for (int i = 0; i < 100; ++i) {
        const std::string name = MakeTemporaryName();
        EXPECT_TRUE(IsTemporaryName(name)) << name;
        EXPECT_EQ(name.find_first_of("[]_0123456789"), std::string::npos) << name;
        seen.insert(name);
    }
    EXPECT_EQ(seen.size(), 100u);
}

TEST(TemporaryNameTest, OtherNamesAreNotTemporaries) {
    const char* const others[] = {
        "",
        ".fumibako-tmp-",
        ".fumibako-tmp-abcdefghijk",   // too short
        ".fumibako-tmp-abcdefghijklm", // too long
        ".fumibako-tmp-abcdefghijK1",
        "fumibako-tmp-abcdefghijkl",
        "[2022_12_31][A][1].pdf",
        ".FMB_Setting.ini.abc123",
    };
    for (const char* name : others)
        EXPECT_FALSE(IsTemporaryName(name)) << name;
}

} // namespace
} // namespace fmb
