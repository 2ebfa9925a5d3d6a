#include "ledger/Correction.h"

#include "filing/CopyIntoStorage.h"
#include "ledger/KeptVersions.h"
#include "ledger/LedgerFiling.h"
#include "platform/Clock.h"
#include "platform/ErrorText.h"
#include "platform/FileHash.h"
#include "platform/PathText.h"

namespace fmb {
namespace {

constexpr const char* kNoReasonMessage = "訂正・削除の理由を入力してください。";
constexpr const char* kNoPersonMessage =
    "処理担当者を入力してください。\n（「設定」で既定の処理担当者を登録できます）";

// A live document, checked: recorded, present and as recorded.
struct CheckedDocument {
    std::string relativePath;
    ContentDigest content;
    LedgerRecord record; // the record that put it there
};

std::optional<CheckedDocument> CheckDocument(const Ledger& ledger, const ChangeRequest& request,
                                             Reporter& reporter) {
    const auto refuse = [&reporter](const std::string& message) {
        reporter.Notify(message);
        return std::nullopt;
    };
    if (const auto refusal = RefuseChangeRequest(request)) {
        return refuse(*refusal);
    }
    CheckedDocument document;
    document.relativePath = ledger.RelativePath(request.storedPath);
    if (document.relativePath.empty()) {
        return refuse("保存先フォルダの中の書類を選んでください。\n\n" + request.storedPath);
    }
    const LedgerContents contents = ledger.Read();
    if (contents.error) {
        return refuse(LedgerUnreadableMessage(ledger, contents.error));
    }
    const LedgerState state(contents.records);
    const RecordedDocument* live = state.LiveAt(document.relativePath);
    if (live == nullptr) {
        return refuse("この書類は台帳に記録されていません。\n\n" + request.storedPath +
                      "\n\n「検証」で確かめ、既存の書類として記録してから訂正・削除してください。");
    }
    if (const std::error_code error = HashFile(ToFsPath(request.storedPath), document.content)) {
        return refuse("書類を読めませんでした。\n\n" + request.storedPath + "\n" +
                      DescribeError(error));
    }
    if (document.content.sha256 != live->sha256 || document.content.size != live->size) {
        return refuse("書類の内容が台帳の記録と違います（保存後に変更されています）。\n\n" +
                      request.storedPath + "\n\n「検証」で確かめてください。");
    }
    document.record = *live->record;
    return document;
}

// Records the corrected document once it is stored.
class CorrectionRecorder final : public FilingRecorder {
public:
    CorrectionRecorder(const Ledger& ledger, LedgerRecord record, Reporter& reporter)
        : m_ledger(ledger), m_record(std::move(record)), m_reporter(reporter) {}

    bool MayPublish(const ContentDigest&) override { return true; }
    bool Record(const std::string& storedPath, const ContentDigest& content) override {
        m_record.path = m_ledger.RelativePath(storedPath);
        m_record.size = content.size;
        m_record.sha256 = content.sha256;
        if (const std::error_code error = m_ledger.Append(m_record)) {
            m_reporter.Notify(LedgerWriteFailedMessage(m_ledger, error) +
                              "\n\n訂正は行われていません。");
            return false;
        }
        return true;
    }

private:
    const Ledger& m_ledger;
    LedgerRecord m_record;
    Reporter& m_reporter;
};

// Moves the document into the kept versions and starts the record of its change, the new path
// not yet known. Nothing, with the user told why, when the document cannot be kept.
std::optional<LedgerRecord> KeepEarlier(const Ledger& ledger, std::string_view operation,
                                        const ChangeRequest& request,
                                        const CheckedDocument& document, const std::string& failure,
                                        Reporter& reporter) {
    LedgerRecord record;
    record.time = LocalTimestamp();
    record.operation = operation;
    record.earlierPath = document.relativePath;
    record.earlierSize = document.content.size;
    record.earlierSha256 = document.content.sha256;
    record.keptPath = KeptPathFor(ledger, document.relativePath, record.time);
    record.reason = request.reason;
    const std::string kept = ledger.FullPath(record.keptPath);
    if (const std::error_code error = MoveUnchanged(request.storedPath, kept, document.content)) {
        reporter.Notify(failure + "\n\n" + kept + "\n" + DescribeError(error));
        return std::nullopt;
    }
    return record;
}

// Puts a kept file back where it lay when the change could not be completed.
void PutBack(const std::string& kept, const std::string& stored, const ContentDigest& content,
             Reporter& reporter) {
    if (const std::error_code error = MoveUnchanged(kept, stored, content)) {
        reporter.Notify("書類を元の場所に戻せませんでした。書類は次の場所にあります。\n\n" + kept +
                        "\n" + DescribeError(error));
    }
}

} // namespace

std::optional<std::string> RefuseChangeRequest(const ChangeRequest& request) {
    if (request.reason.empty()) {
        return kNoReasonMessage;
    }
    if (request.person.empty()) {
        return kNoPersonMessage;
    }
    return std::nullopt;
}

Destination CorrectedDestination(const ChangeRequest& request, FilingEntry entry,
                                 const std::string& newSource, const CFMBData& settings) {
    entry.sourcePath = newSource.empty() ? request.storedPath : newSource;
    return ComposeDestination(entry, settings);
}

std::string CorrectionQuestion(const ChangeRequest& request, const std::string& correctedPath) {
    return "次の書類を訂正します。\n\n" + request.storedPath + "\n　→ " + correctedPath +
           "\n\n理由: " + request.reason + "\n処理担当者: " + request.person +
           "\n\n訂正前の書類は「訂正・削除前の書類」に保管され、台帳に記録されます。";
}

std::string DeletionQuestion(const ChangeRequest& request) {
    return "次の書類を削除します。\n\n" + request.storedPath + "\n\n理由: " + request.reason +
           "\n処理担当者: " + request.person +
           "\n\n書類は「訂正・削除前の書類」に保管され、台帳に記録されます。";
}

int CorrectDocument(const Ledger& ledger, const ChangeRequest& request, const FilingEntry& entry,
                    const std::string& newSource, const CFMBData& settings, Reporter& reporter) {
    const auto document = CheckDocument(ledger, request, reporter);
    if (!document) {
        return change_result::kRefused;
    }
    if (const auto refusal = ValidateEntry(entry)) {
        reporter.Notify(refusal->message);
        return change_result::kRefused;
    }
    const Destination destination = CorrectedDestination(request, entry, newSource, settings);
    std::optional<LedgerRecord> record = KeepEarlier(
        ledger, kOpCorrected, request, *document, "訂正前の書類を保管できませんでした。", reporter);
    if (!record) {
        return change_result::kFailed;
    }
    const std::string kept = ledger.FullPath(record->keptPath);
    FilingFacts facts = FactsOf(entry, request.person);
    facts.sourceName = newSource.empty() ? document->record.sourceName : LastComponent(newSource);
    PutFacts(facts, *record);
    CorrectionRecorder recorder(ledger, std::move(*record), reporter);
    // The earlier content is copied from where it is kept now, so it is never read from a place
    // it no longer is.
    const CopyResult filed =
        CopyIntoStorage(newSource.empty() ? kept : newSource, settings.COPY_SAKI_DIR,
                        destination.folder, destination.fileName, reporter, &recorder);
    if (filed != CopyResult::Filed) {
        PutBack(kept, request.storedPath, document->content, reporter);
        return change_result::kFailed;
    }
    return change_result::kDone;
}

int DeleteDocument(const Ledger& ledger, const ChangeRequest& request, Reporter& reporter) {
    const auto document = CheckDocument(ledger, request, reporter);
    if (!document) {
        return change_result::kRefused;
    }
    std::optional<LedgerRecord> record = KeepEarlier(
        ledger, kOpDeleted, request, *document, "削除する書類を保管できませんでした。", reporter);
    if (!record) {
        return change_result::kFailed;
    }
    FilingFacts facts = FactsOf(document->record);
    facts.person = request.person;
    PutFacts(facts, *record);
    if (const std::error_code error = ledger.Append(*record)) {
        reporter.Notify(LedgerWriteFailedMessage(ledger, error) + "\n\n削除は行われていません。");
        PutBack(ledger.FullPath(record->keptPath), request.storedPath, document->content, reporter);
        return change_result::kFailed;
    }
    return change_result::kDone;
}

} // namespace fmb
