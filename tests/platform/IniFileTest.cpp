#include "platform/IniFile.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace fmb {
namespace {

using test::ReadBytes;
using test::WriteBytes;

class IniFileTest : public ::testing::Test {
protected:
    test::TempDir m_dir;
    std::filesystem::path m_file = m_dir.Path() / "profile.ini";
};

TEST_F(IniFileTest, FirstWriteCreatesFileAndSectionInCp932) {
    IniFile ini(m_file);
    ASSERT_TRUE(ini.Set("SYURUI_002", "SYURUI_NAME", "請求書(控)"));
    ASSERT_TRUE(ini.Set("SYURUI_002", "SIZE", "1"));
    ASSERT_TRUE(ini.Save());
    EXPECT_EQ(ReadBytes(m_file), "[SYURUI_002]\r\n"
                                 "SYURUI_NAME=\x90\xBF\x8B\x81\x8F\x91\x28\x8D\x54\x29\r\n"
                                 "SIZE=1\r\n");
}

TEST_F(IniFileTest, UpdatesKeysInTheirLinesAndKeepsEveryOtherByte) {
    // Foreign lines: a comment, a key of another program, another section, a value whose
    // double-byte character has the backslash code as its second byte (表 = 95 5C), odd spacing.
    const std::string original = "; written by hand\r\n"
                                 "[Other]\r\n"
                                 "Path=C:\\\x95\x5C\r\n"
                                 "\r\n"
                                 "[setting]\r\n"
                                 "  copy_saki_dir =  old  \r\n"
                                 "FOREIGN_KEY=1\r\n"
                                 "\r\n"
                                 "[Tail]\r\n"
                                 "X=y\r\n";
    WriteBytes(m_file, original);
    IniFile ini(m_file);
    EXPECT_EQ(ini.Get("SETTING", "COPY_SAKI_DIR"), "old");
    EXPECT_EQ(ini.Get("other", "PATH"), "C:\\表");
    ASSERT_TRUE(ini.Set("SETTING", "COPY_SAKI_DIR", "/data/書類"));
    ASSERT_TRUE(ini.Set("SETTING", "NEND_END_M", "3"));
    ASSERT_TRUE(ini.Save());
    EXPECT_EQ(ReadBytes(m_file), "; written by hand\r\n"
                                 "[Other]\r\n"
                                 "Path=C:\\\x95\x5C\r\n"
                                 "\r\n"
                                 "[setting]\r\n"
                                 "COPY_SAKI_DIR=/data/\x8F\x91\x97\xDE\r\n"
                                 "FOREIGN_KEY=1\r\n"
                                 "NEND_END_M=3\r\n"
                                 "\r\n"
                                 "[Tail]\r\n"
                                 "X=y\r\n");
}

TEST_F(IniFileTest, KeepsTheLinesItDoesNotSetAsTheyAreAndEndsTheLastLine) {
    // A value set in each file: S.A (present) and S.B (added), T.C (a new section).
    const struct {
        const char* before;
        const char* after;
    } cases[] = {
        // Line breaks of both kinds and lines that are no keys stay as they were.
        {"x\r\n[S]\nA=1\r\n\r\n  \n; note\r\n\n\n[U]\r\nD=4",
         "x\r\n[S]\nA=new\r\n\r\n  \n; note\r\nB=2\r\n\n\n[U]\r\nD=4\r\n"
         "[T]\r\nC=3\r\n"},
        // The last line of the file without its line break.
        {"[S]\nA=1", "[S]\nA=new\nB=2\n[T]\nC=3\n"},
        {"[S]", "[S]\r\nA=new\r\nB=2\r\n[T]\r\nC=3\r\n"},
        // A carriage return at the end stays the end of the line it ends.
        {"[S]\r\nX=1\r", "[S]\r\nX=1\r\nA=new\r\nB=2\r\n[T]\r\nC=3\r\n"},
        // Keys of other case, a second section of the same name, keys before any section.
        {"A=0\n[s]\na=1\n[S]\nB=1\n", "A=0\n[s]\nA=new\nB=2\n[S]\nB=1\n[T]\nC=3\n"},
        {"", "[S]\r\nA=new\r\nB=2\r\n[T]\r\nC=3\r\n"},
    };
    for (const auto& c : cases) {
        WriteBytes(m_file, c.before);
        IniFile ini(m_file);
        ASSERT_TRUE(ini.Set("S", "A", "old"));
        ASSERT_TRUE(ini.Set("S", "A", "new"));
        ASSERT_TRUE(ini.Set("S", "B", "2"));
        ASSERT_TRUE(ini.Set("T", "C", "3"));
        EXPECT_EQ(ini.Get("s", "a"), "new") << c.before;
        EXPECT_EQ(ini.Get("t", "C"), "3") << c.before;
        ASSERT_TRUE(ini.Save());
        EXPECT_EQ(ReadBytes(m_file), c.after) << c.before;
    }
}

TEST_F(IniFileTest, ReadsValuesAfterTheFirstEqualsSignWithBlanksRemoved) {
    WriteBytes(m_file, "[S]\nA = x=y \n\tB\t=\t\t\nC\n[s]\nA=second section ignored\n");
    const IniFile ini(m_file);
    EXPECT_EQ(ini.Get("S", "A"), "x=y");
    EXPECT_EQ(ini.Get("S", "B"), "");
    EXPECT_EQ(ini.Get("S", "C"), "");
    EXPECT_EQ(ini.Get("Missing", "A"), "");
}

TEST_F(IniFileTest, SeesAtMost1023BytesOfAValue) {
    std::string doubleBytes;
    std::string expected = "x";
    for (int i = 0; i < 600; ++i) {
        doubleBytes += "\x82\xA0"; // あ
        if (i < 511) {
            expected += "あ";
        }
    }
    WriteBytes(m_file, "[S]\r\nA=" + std::string(1030, 'x') + "\r\nB=x" + doubleBytes + "\r\n");
    const IniFile ini(m_file);
    EXPECT_EQ(ini.Get("S", "A"), std::string(1023, 'x'));
    // 1 + 511 * 2 = 1023 bytes: the next character would not fit whole.
    EXPECT_EQ(ini.Get("S", "B"), expected);
}

TEST_F(IniFileTest, RefusesTextItCannotStoreAndKeepsTheFile) {
    WriteBytes(m_file, "[S]\r\nA=1\r\n");
    IniFile ini(m_file);
    EXPECT_FALSE(ini.Set("S", "A", "emoji 😀"));
    // A pasted line break would split the line: "B" would become a key of its own.
    EXPECT_FALSE(ini.Set("S", "A", "x\r\nB=2"));
    EXPECT_FALSE(ini.Set("S", "A", "x\n"));
    ASSERT_TRUE(ini.Save());
    EXPECT_EQ(ReadBytes(m_file), "[S]\r\nA=1\r\n");
}

TEST_F(IniFileTest, AFailedSaveIsReportedAndLeavesTheOldFile) {
    // A folder where the file should be.
    std::filesystem::create_directory(m_file);
    IniFile blocked(m_file);
    blocked.Set("S", "A", "1");
    EXPECT_FALSE(blocked.Save());
    EXPECT_TRUE(std::filesystem::is_directory(m_file));

    // A missing folder.
    IniFile nowhere(m_dir.Path() / "missing" / "profile.ini");
    nowhere.Set("S", "A", "1");
    EXPECT_FALSE(nowhere.Save());

    // A file the user marked read-only is not replaced.
    const auto readOnly = m_dir.Path() / "read-only.ini";
    WriteBytes(readOnly, "[S]\r\nA=old\r\n");
    std::filesystem::permissions(readOnly, std::filesystem::perms::owner_read |
                                               std::filesystem::perms::group_read |
                                               std::filesystem::perms::others_read);
    IniFile locked(readOnly);
    locked.Set("S", "A", "new");
    EXPECT_FALSE(locked.Save());
    EXPECT_EQ(ReadBytes(readOnly), "[S]\r\nA=old\r\n");
    // No temporary file is left behind.
    int entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(m_dir.Path())) {
        ++entries;
    }
    EXPECT_EQ(entries, 2);
}

TEST_F(IniFileTest, ControlCharactersNextToJapaneseTextReadBackAsWritten) {
    IniFile written(m_file);
    ASSERT_TRUE(written.Set("S", "A", "し\x1C\x1A\x7F"));
    ASSERT_TRUE(written.Save());
    EXPECT_EQ(ReadBytes(m_file), "[S]\r\nA=\x82\xB5\x1C\x1A\x7F\r\n");
    EXPECT_EQ(IniFile(m_file).Get("S", "A"), "し\x1C\x1A\x7F");
}

} // namespace
} // namespace fmb
