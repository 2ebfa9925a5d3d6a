#include "index/FoundFiles.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace fmb {
namespace {

// An entry's three texts in one, for comparing lists of entries.
std::string Text(const ScanEntry& e) {
    return e.typeFolder + " | " + e.fileName + " | " + e.fullPath;
}

std::vector<std::string> Texts(const std::vector<ScanEntry>& entries) {
    std::vector<std::string> texts;
    for (const ScanEntry& e : entries) {
        texts.push_back(Text(e));
    }
    return texts;
}

std::vector<std::string> Entries(const FoundFiles& files) {
    std::vector<std::string> texts;
    files.ForEach([&](const ScanEntry& e) {
        texts.push_back(Text(e));
        return true;
    });
    return texts;
}

TEST(FoundFiles, GivesBackEveryFileInOrderWithItsFolderAndTypeFolder) {
    const std::vector<ScanEntry> added = {
        {"", "top.pdf", "/data/2022年度/top.pdf"},
        {"請求書", "[20230315][A][1].pdf", "/data/2022年度/請求書/[20230315][A][1].pdf"},
        {"請求書", "b.pdf", "/data/2022年度/請求書/b.pdf"},
        {"請求書", "c.pdf", "/data/2022年度/請求書/x/c.pdf"},
        {"領収書", "c.pdf", "/data/2022年度/領収書/c.pdf"},
        // The same folder spelled as a type folder's own and, through a link, as another's.
        {"請求書", "d.pdf", "/data/2022年度/領収書/d.pdf"},
        {"", "", "/data/2022年度/"},
    };
    FoundFiles files;
    for (const ScanEntry& e : added) {
        files.Add(e);
    }
    EXPECT_EQ(files.Size(), added.size());
    EXPECT_EQ(Entries(files), Texts(added));

    std::size_t visited = 0;
    files.ForEach([&](const ScanEntry&) { return ++visited < 2; });
    EXPECT_EQ(visited, 2u);

    files.Clear();
    EXPECT_EQ(files.Size(), 0u);
    files.Add(added[2]);
    EXPECT_EQ(Entries(files), std::vector<std::string>{Text(added[2])});
}

TEST(FoundFilesQueue, CarriesEveryRunInOrderToAnotherThreadAndEnds) {
    constexpr int kRuns = 200;
    FoundFilesQueue queue(2);
    std::vector<std::string> received;
    std::thread writer([&] {
        FoundFiles run;
        while (queue.Take(run)) {
            run.ForEach([&](const ScanEntry& e) {
                received.push_back(e.fileName);
                return true;
            });
        }
    });
    std::vector<std::string> sent;
    FoundFiles run;
    for (int i = 0; i < kRuns; ++i) {
        for (int j = 0; j <= i % 3; ++j) {
            sent.push_back(std::to_string(i) + "-" + std::to_string(j) + ".pdf");
            run.Add({"t", sent.back(), "/d/t/" + sent.back()});
        }
        queue.Put(run);
        EXPECT_EQ(run.Size(), 0u) << "an empty run to fill next";
    }
    queue.Close();
    writer.join();
    EXPECT_EQ(received, sent);
}

} // namespace
} // namespace fmb
