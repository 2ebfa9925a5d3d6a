// The platform's SHA-256, file digests, durable appends and the folder lock, through the same
// calls on every platform: these run on Linux and, built with mingw-w64, under Wine.
#include "platform/FileCopy.h"
#include "platform/FileHash.h"
#include "platform/FolderLock.h"
#include "platform/Sha256.h"
#include "platform/TemporaryFile.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>

namespace fmb {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::TempDir;
using test::U8;
using test::WriteBytes;

// The test vectors of FIPS 180-2, and a text longer than one block.
TEST(HashSeam, Sha256GivesTheKnownDigestsWhateverThePiecesItIsFedIn) {
    const struct {
        std::string text;
        const char* digest;
    } cases[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {std::string(1000000, 'a'),
         "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 20));
        EXPECT_EQ(Sha256Hex(c.text), c.digest);
        // In uneven pieces, through one object used twice: a digest starts the next afresh.
        Sha256 hash;
        hash.Update("garbage");
        hash.HexDigest();
        for (std::size_t at = 0; at < c.text.size(); at += 7777) {
            hash.Update(std::string_view(c.text).substr(at, 7777));
        }
        EXPECT_EQ(hash.HexDigest(), c.digest);
    }
}

TEST(HashSeam, AFileIsDigestedWithItsSizeAndACopyTapSeesEveryByte) {
    TempDir dir;
    // Larger than one block of reading and copying.
    std::string content(3 * 1024 * 1024 + 17, '\0');
    for (std::size_t i = 0; i < content.size(); ++i) {
        content[i] = static_cast<char>(i * 31 % 251);
    }
    const fs::path file = dir.Path() / U8("請求書.pdf");
    WriteBytes(file, content);

    ContentDigest digest;
    ASSERT_FALSE(HashFile(file, digest));
    EXPECT_EQ(digest, (ContentDigest{content.size(), Sha256Hex(content)}));

    std::error_code error;
    const SourceFile source(file, error);
    ASSERT_FALSE(error) << error.message();
    TemporaryFile copy(dir.Path(), error);
    ASSERT_FALSE(error) << error.message();
    Sha256 tapped;
    std::uint64_t seen = 0;
    ASSERT_FALSE(CopyContents(source, copy, fs::perms::owner_read | fs::perms::owner_write, {},
                              [&](const char* data, std::size_t size) {
                                  tapped.Update(data, size);
                                  seen += size;
                              }));
    EXPECT_EQ(seen, content.size());
    EXPECT_EQ(tapped.HexDigest(), digest.sha256);
    ASSERT_FALSE(copy.PublishAs(dir.Path() / U8("copy.pdf")));
    EXPECT_EQ(ReadBytes(dir.Path() / U8("copy.pdf")), content);

    // An observer that says stop ends the digest; a folder is no file to digest.
    EXPECT_EQ(HashFile(file, digest, [](std::uint64_t) { return false; }),
              std::errc::operation_canceled);
    EXPECT_EQ(HashFile(dir.Path(), digest), std::errc::invalid_argument);
    EXPECT_TRUE(HashFile(dir.Path() / U8("none.pdf"), digest));
}

TEST(HashSeam, AppendsGoAtTheEndOfAFileCreatedWhenMissing) {
    TempDir dir;
    const fs::path ledger = dir.Path() / U8("台帳.txt");
    ASSERT_FALSE(AppendDurably(ledger, "line 1\n"));
    ASSERT_FALSE(AppendDurably(ledger, "line 2\n"));
    EXPECT_EQ(ReadBytes(ledger), "line 1\nline 2\n");
    EXPECT_TRUE(AppendDurably(dir.Path() / U8("no folder") / U8("台帳.txt"), "x\n"));
}

TEST(LockSeam, OneHolderAtATimeAndAStaleLockIsTakenOver) {
    TempDir dir;
    const fs::path lockFile = dir.Path() / U8("台帳.lock");
    std::error_code error;
    {
        const auto held = FolderLock::Acquire(lockFile, std::chrono::milliseconds(0), error);
        ASSERT_TRUE(held) << error.message();
        EXPECT_TRUE(fs::exists(lockFile));
        // Held by a process of this computer that runs: the next taker waits, then gives up.
        const auto second = FolderLock::Acquire(lockFile, std::chrono::milliseconds(50), error);
        EXPECT_FALSE(second);
        EXPECT_EQ(error, std::errc::device_or_resource_busy);
    }
    EXPECT_FALSE(fs::exists(lockFile)) << "given up with its holder";

    // Left by a crash on another computer: taken over once older than any holder keeps it.
    WriteBytes(lockFile, "other-computer\n4242\n");
    EXPECT_FALSE(FolderLock::Acquire(lockFile, std::chrono::milliseconds(0), error));
    fs::last_write_time(lockFile,
                        fs::last_write_time(lockFile) - kStaleLockAge - std::chrono::seconds(5));
    EXPECT_TRUE(FolderLock::Acquire(lockFile, std::chrono::milliseconds(0), error))
        << error.message();
    EXPECT_NE(ComputerName(), "");
}

} // namespace
} // namespace fmb
