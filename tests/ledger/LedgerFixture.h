#pragma once

#include "filing/CopyIntoStorage.h"
#include "ledger/Ledger.h"
#include "ledger/LedgerFiling.h"
#include "platform/PathText.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace fmb::test {

// A path written with "/" between its levels, as the platform writes it.
inline std::string Native(std::string path) {
    std::replace(path.begin(), path.end(), '/', kPathSeparator);
    return path;
}

// Collects what the core tells the user.
class RecordingReporter final : public Reporter {
public:
    void Notify(const std::string& message) override { messages.push_back(message); }
    std::vector<std::string> messages;
};

// Answers the duplicate questions from a script and remembers what was asked.
class ScriptedDuplicates final : public DuplicateDecision {
public:
    bool sameContentAnswer = false;
    bool sameFieldsAnswer = true;
    std::vector<std::string> asked; // "content:PATH" or "fields:PATH"

    bool FileSameContent(const std::string& storedPath) override {
        asked.push_back("content:" + storedPath);
        return sameContentAnswer;
    }
    bool FileSameFields(const std::string& storedPath) override {
        asked.push_back("fields:" + storedPath);
        return sameFieldsAnswer;
    }
};

// A storage root in a temporary folder, and filings into it through the ledger.
class LedgerFixture : public ::testing::Test {
protected:
    std::string Root() const { return m_dir.Child("root"); }
    std::string Source(const std::string& name, const std::string& bytes) {
        const std::string path = m_dir.Child(name);
        WriteBytes(U8(path), bytes);
        return path;
    }
    std::string StoredPath(const std::string& name) const {
        return Native(Root() + "/2022年度/請求書/" + name);
    }
    // Files source as [2022_12_31][company][amount]remark.ext; the result code.
    CopyResult File(const std::string& source, const std::string& company,
                    const std::string& amount, const std::string& remark = "",
                    const std::string& person = "山田") {
        const std::string name = "[2022_12_31][" + company + "][" + amount + "]" + remark + ".pdf";
        LedgerFilingRecorder recorder(
            m_ledger, {"請求書", "20221231", company, amount, "", remark, "src.pdf", person},
            m_duplicates, m_reporter);
        return CopyIntoStorage(source, Root(), Native(Root() + "/2022年度/請求書/"), name,
                               m_reporter, &recorder);
    }
    std::vector<LedgerRecord> Records() const { return m_ledger.Read().records; }
    std::string LedgerBytes() const { return ReadBytes(m_ledger.FilePath()); }

    void SetUp() override { std::filesystem::create_directory(U8(Root())); }

    TempDir m_dir;
    Ledger m_ledger{m_dir.Child("root")};
    RecordingReporter m_reporter;
    ScriptedDuplicates m_duplicates;
};

} // namespace fmb::test
