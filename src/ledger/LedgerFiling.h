#pragma once

#include "filing/Composition.h"
#include "filing/FilingRecorder.h"
#include "ledger/Ledger.h"
#include "platform/MessagePort.h"
#include "platform/Reporter.h"

#include <string>

namespace fmb {

// How a filing settles a document that may be stored twice: the window asks, the command line
// follows its options.
class DuplicateDecision {
public:
    virtual ~DuplicateDecision() = default;
    // The same content is stored at storedPath (a full path): true to file it all the same.
    virtual bool FileSameContent(const std::string& storedPath) = 0;
    // A document of the same date, company and amounts but other content is stored at
    // storedPath: true to file this one too.
    virtual bool FileSameFields(const std::string& storedPath) = 0;
};

// The window's way: both cases are asked, a duplicate content with Cancel as the default.
class AskingDuplicateDecision final : public DuplicateDecision {
public:
    explicit AskingDuplicateDecision(MessagePort& messages) : m_messages(messages) {}
    bool FileSameContent(const std::string& storedPath) override;
    bool FileSameFields(const std::string& storedPath) override;

private:
    MessagePort& m_messages;
};

// What a record of a filing says besides the document's path and content.
struct FilingFacts {
    std::string type, date, company, amount, extra, remark;
    std::string sourceName; // the source file's name without its folder
    std::string person;     // 処理担当者; may be empty for a filing
};

// The facts of a filing of entry by person.
FilingFacts FactsOf(const FilingEntry& entry, const std::string& person);
// The facts a record holds, and the record holding them.
FilingFacts FactsOf(const LedgerRecord& record);
void PutFacts(const FilingFacts& facts, LedgerRecord& record);

// The questions and warnings about duplicates, shared by the window and the command line.
std::string SameContentQuestion(const std::string& storedPath);
std::string SameFieldsQuestion(const std::string& storedPath);

// Keeps the ledger of a filing: before the document gets its name, looks its content and its
// fields up among the live documents and lets the decision settle a duplicate; once it is stored,
// appends its 登録 record. Every refusal and failure is told through the reporter.
class LedgerFilingRecorder final : public FilingRecorder {
public:
    LedgerFilingRecorder(const Ledger& ledger, FilingFacts facts, DuplicateDecision& decision,
                         Reporter& reporter);

    bool MayPublish(const ContentDigest& content) override;
    bool Record(const std::string& storedPath, const ContentDigest& content) override;

private:
    const Ledger& m_ledger;
    FilingFacts m_facts;
    DuplicateDecision& m_decision;
    Reporter& m_reporter;
    std::string m_note; // what the record says of a duplicate filed knowingly
};

// Why the ledger could not be read, naming it; nothing is stored or changed.
std::string LedgerUnreadableMessage(const Ledger& ledger, const std::error_code& error);

} // namespace fmb
