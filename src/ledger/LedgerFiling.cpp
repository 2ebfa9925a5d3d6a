#include "ledger/LedgerFiling.h"

#include "platform/ErrorText.h"
#include "platform/PathText.h"

namespace fmb {

FilingFacts FactsOf(const FilingEntry& entry, const std::string& person) {
    return {entry.typeName,
            entry.date,
            entry.company,
            entry.amount,
            entry.extraPlain,
            entry.remark,
            LastComponent(entry.sourcePath),
            person};
}

FilingFacts FactsOf(const LedgerRecord& r) {
    return {r.type, r.date, r.company, r.amount, r.extra, r.remark, r.sourceName, r.person};
}

void PutFacts(const FilingFacts& facts, LedgerRecord& record) {
    record.type = facts.type;
    record.date = facts.date;
    record.company = facts.company;
    record.amount = facts.amount;
    record.extra = facts.extra;
    record.remark = facts.remark;
    record.sourceName = facts.sourceName;
    record.person = facts.person;
}

std::string SameContentQuestion(const std::string& storedPath) {
    return "同じ内容の書類がすでに保存されています。\n\n" + storedPath + "\n\n二重に保存しますか？";
}

std::string SameFieldsQuestion(const std::string& storedPath) {
    return "日付・会社名・金額が同じ書類がすでに保存されています（内容は異なります）。\n\n" +
           storedPath + "\n\n保存しますか？";
}

bool AskingDuplicateDecision::FileSameContent(const std::string& storedPath) {
    return m_messages.CautiousQuestion(SameContentQuestion(storedPath));
}

bool AskingDuplicateDecision::FileSameFields(const std::string& storedPath) {
    return m_messages.Question(SameFieldsQuestion(storedPath));
}

std::string LedgerUnreadableMessage(const Ledger& ledger, const std::error_code& error) {
    return "台帳を読めませんでした。\n\n" + ledger.FileText() + "\n" + DescribeError(error);
}

LedgerFilingRecorder::LedgerFilingRecorder(const Ledger& ledger, FilingFacts facts,
                                           DuplicateDecision& decision, Reporter& reporter)
    : m_ledger(ledger), m_facts(std::move(facts)), m_decision(decision), m_reporter(reporter) {}

bool LedgerFilingRecorder::MayPublish(const ContentDigest& content) {
    const LedgerContents contents = m_ledger.Read();
    if (contents.error) {
        m_reporter.Notify(LedgerUnreadableMessage(m_ledger, contents.error));
        return false;
    }
    const LedgerState state(contents.records);
    if (const RecordedDocument* same = state.WithContent(content.sha256)) {
        if (!m_decision.FileSameContent(m_ledger.FullPath(same->path))) {
            return false;
        }
        m_note = "同じ内容の書類を承知で登録: " + same->path;
        return true;
    }
    if (const RecordedDocument* alike =
            state.WithFields(m_facts.date, m_facts.company, m_facts.amount, m_facts.extra)) {
        if (!m_decision.FileSameFields(m_ledger.FullPath(alike->path))) {
            return false;
        }
        m_note = "日付・会社名・金額が同じ書類あり: " + alike->path;
    }
    return true;
}

bool LedgerFilingRecorder::Record(const std::string& storedPath, const ContentDigest& content) {
    LedgerRecord record;
    record.operation = kOpFiled;
    record.path = m_ledger.RelativePath(storedPath);
    record.size = content.size;
    record.sha256 = content.sha256;
    PutFacts(m_facts, record);
    record.note = m_note;
    if (const std::error_code error = m_ledger.Append(record)) {
        m_reporter.Notify(LedgerWriteFailedMessage(m_ledger, error) +
                          "\n\n書類は保存されていません。");
        return false;
    }
    return true;
}

} // namespace fmb
