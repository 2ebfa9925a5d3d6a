#include "ledger/Verification.h"

#include "index/CCsvOut.h"
#include "index/FileNameParse.h"
#include "index/FolderWalk.h"
#include "jobs/JobMonitor.h"
#include "ledger/LedgerFiling.h"
#include "ledger/StoredFields.h"
#include "platform/ErrorText.h"
#include "platform/FileHash.h"
#include "platform/PathText.h"
#include "platform/Reporter.h"

#include <set>

namespace fmb {
namespace {

// "2022年度": a fiscal-year folder directly under the storage root.
bool IsFiscalYearFolder(std::string_view name) {
    constexpr std::string_view kSuffix = "年度";
    if (!name.ends_with(kSuffix) || name.size() == kSuffix.size()) {
        return false;
    }
    for (const char c : name.substr(0, name.size() - kSuffix.size())) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

struct Expected {
    std::string fullPath;
    ContentDigest content;
    bool kept = false;
};

} // namespace

std::string VerifyProblem::Text() const {
    switch (kind) {
    case Kind::ChainBroken:
        return "台帳の連鎖が切れています: " + std::to_string(line) +
               " 行目（行の削除・変更・入れ替え）";
    case Kind::Missing:
        return "書類がありません: " + path;
    case Kind::Altered:
        return "書類が変更されています（改ざん）: " + path;
    case Kind::Unrecorded:
        return "台帳に記録のない書類: " + path;
    case Kind::KeptMissing:
        return "訂正・削除前の書類がありません: " + path;
    case Kind::KeptAltered:
        return "訂正・削除前の書類が変更されています（改ざん）: " + path;
    case Kind::KeptUnrecorded:
        return "台帳に記録のない訂正・削除前の書類: " + path;
    case Kind::LedgerUnreadable:
        return "台帳を読めません: " + path;
    }
    return {};
}

std::vector<std::string> VerifyReport::UnrecordedFiles() const {
    std::vector<std::string> files;
    for (const VerifyProblem& problem : problems) {
        if (problem.kind == VerifyProblem::Kind::Unrecorded) {
            files.push_back(problem.path);
        }
    }
    return files;
}

std::string VerifyReport::Summary() const {
    std::string text;
    if (cancelled) {
        text += "検証を中止しました。\n";
    }
    if (!ledgerExists) {
        text += "台帳がありません。\n";
    }
    text += "記録: " + std::to_string(records) +
            " 件、確認できた書類: " + std::to_string(documentsChecked) +
            " 件、訂正・削除前の書類: " + std::to_string(keptChecked) + " 件\n";
    if (problems.empty()) {
        text += cancelled ? "" : "問題はありません。";
    } else {
        text += "問題: " + std::to_string(problems.size()) + " 件";
    }
    return text;
}

VerifyReport VerifyStorage(const std::string& storageRoot, JobMonitor* monitor) {
    VerifyReport report;
    const Ledger ledger(storageRoot);
    const LedgerContents contents = ledger.Read();
    report.ledgerExists = contents.exists;
    report.records = contents.records.size();
    if (contents.error) {
        report.problems.push_back({VerifyProblem::Kind::LedgerUnreadable, ledger.FileText(), 0});
        return report;
    }
    for (const std::size_t line : contents.brokenLines) {
        report.problems.push_back({VerifyProblem::Kind::ChainBroken, ledger.FileText(), line});
    }
    const LedgerState state(contents.records);
    std::vector<Expected> expected;
    std::set<std::string> recorded;
    for (const auto& [path, document] : state.Live()) {
        expected.push_back({ledger.FullPath(path), {document.size, document.sha256}, false});
        recorded.insert(expected.back().fullPath);
    }
    std::set<std::string> keptRecorded;
    for (const RecordedDocument& document : state.Kept()) {
        expected.push_back(
            {ledger.FullPath(document.path), {document.size, document.sha256}, true});
        keptRecorded.insert(expected.back().fullPath);
    }
    // Every file in the fiscal-year folders, to find those no record claims.
    std::vector<std::string> unrecorded;
    const std::string root = WithTrailingSeparator(storageRoot);
    const ScanReport scan = ScanFolder(root, [&](const ScanEntry& entry) {
        if (IsFiscalYearFolder(entry.typeFolder) && !entry.fileName.starts_with(".") &&
            !recorded.count(entry.fullPath)) {
            unrecorded.push_back(entry.fullPath);
        }
        return !(monitor && monitor->CancelRequested());
    });
    (void)scan; // a folder that cannot be read shows as the documents in it missing
    // A kept version no record names: the record of its correction or deletion is gone (the
    // ledger's last lines removed, say).
    std::vector<std::string> keptUnrecorded;
    ScanFolder(FromFsPath(ledger.KeptFolderPath()) + kPathSeparator, [&](const ScanEntry& entry) {
        if (!keptRecorded.count(entry.fullPath)) {
            keptUnrecorded.push_back(entry.fullPath);
        }
        return true;
    });
    if (monitor) {
        for (const Expected& item : expected) {
            monitor->AddToTotal(1, item.content.size);
        }
        monitor->SetTotalFinal();
    }
    const CopyObserver observer = [monitor](std::uint64_t bytes) {
        monitor->AddBytesDone(bytes);
        return !monitor->CancelRequested();
    };
    for (const Expected& item : expected) {
        if (monitor) {
            if (monitor->CancelRequested()) {
                report.cancelled = true;
                return report;
            }
            monitor->SetCurrentItem(item.fullPath);
        }
        ContentDigest found;
        const std::error_code error =
            HashFile(ToFsPath(item.fullPath), found, monitor ? observer : CopyObserver{});
        if (error == std::errc::operation_canceled) {
            report.cancelled = true;
            return report;
        }
        using Kind = VerifyProblem::Kind;
        if (error) {
            report.problems.push_back(
                {item.kept ? Kind::KeptMissing : Kind::Missing, item.fullPath, 0});
        } else if (found != item.content) {
            report.problems.push_back(
                {item.kept ? Kind::KeptAltered : Kind::Altered, item.fullPath, 0});
        } else {
            ++(item.kept ? report.keptChecked : report.documentsChecked);
        }
        if (monitor) {
            monitor->AddItemsDone(1);
        }
    }
    for (const std::string& path : unrecorded) {
        report.problems.push_back({VerifyProblem::Kind::Unrecorded, path, 0});
    }
    for (const std::string& path : keptUnrecorded) {
        report.problems.push_back({VerifyProblem::Kind::KeptUnrecorded, path, 0});
    }
    if (monitor) {
        monitor->SetCurrentItem({});
    }
    return report;
}

std::size_t AdoptFiles(const Ledger& ledger, const std::vector<std::string>& files,
                       const std::string& person, Reporter& reporter) {
    std::size_t adopted = 0;
    for (const std::string& file : files) {
        ContentDigest content;
        if (const std::error_code error = HashFile(ToFsPath(file), content)) {
            reporter.Notify("書類を読めませんでした。\n\n" + file + "\n" + DescribeError(error));
            break;
        }
        LedgerRecord record;
        record.operation = kOpAdopted;
        record.path = ledger.RelativePath(file);
        record.size = content.size;
        record.sha256 = content.sha256;
        FilingFacts facts = FactsOf(EntryOfStoredDocument(ledger, file), person);
        facts.sourceName.clear(); // where it came from is not known
        PutFacts(facts, record);
        if (const std::error_code error = ledger.Append(record)) {
            reporter.Notify(LedgerWriteFailedMessage(ledger, error));
            break;
        }
        ++adopted;
    }
    return adopted;
}

} // namespace fmb
