#include "cli/LedgerCommands.h"

#include "cli/Arguments.h"
#include "cli/JobProgress.h"
#include "cli/StreamReporter.h"
#include "filing/AmountText.h"
#include "filing/InputChecks.h"
#include "jobs/ProgressText.h"
#include "ledger/Correction.h"
#include "ledger/LedgerLog.h"
#include "ledger/StoredFields.h"
#include "ledger/Verification.h"
#include "platform/DecimalText.h"
#include "platform/ExeFolder.h"
#include "platform/PathText.h"
#include "platform/Terminal.h"
#include "settings/CFMBData.h"

#include <memory>
#include <optional>

namespace fmb::cli {
namespace {

// Reads a command line with one operand (see ReadCommandLine).
std::optional<ParsedArguments> ReadOneOperand(const std::vector<std::string>& args,
                                              std::vector<OptionRule> rules,
                                              const std::string& operandMissing, std::ostream& out,
                                              std::ostream& err, int& exitStatus) {
    return ReadCommandLine(args, std::move(rules), 1, operandMissing, WriteLedgerHelp, out, err,
                           exitStatus);
}

// The settings of the settings folder the command line names (the program's folder by default).
std::unique_ptr<CFMBData> ReadSettings(const ParsedArguments& parsed, std::ostream& err,
                                       int& exitStatus) {
    const std::string folder = parsed.Value("settings-dir", GetExeFolder());
    std::error_code error;
    if (!std::filesystem::is_directory(ToFsPath(folder), error)) {
        exitStatus = ReportUsageError(err, "the settings folder " + folder + " does not exist");
        return nullptr;
    }
    auto settings = std::make_unique<CFMBData>(folder);
    settings->ReadIni();
    if (settings->COPY_SAKI_DIR.empty()) {
        err << "保存先フォルダが設定されていません。\n";
        exitStatus = kExitRefused;
        return nullptr;
    }
    return settings;
}

const OptionRule kSettingsOption{"settings-dir", true, 1};
const OptionRule kByOption{"by", true, 1};

} // namespace

int RunVerify(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    int exitStatus = kExitOk;
    const auto parsed =
        ReadOneOperand(args, {{"progress", false, 1}, {"quiet", false, 1}},
                       "verify needs the storage ROOT (or a backup of it)", out, err, exitStatus);
    if (!parsed) {
        return exitStatus;
    }
    VerifyReport report;
    RunJob([&](JobMonitor& monitor) { report = VerifyStorage(parsed->operands[0], &monitor); },
           ChooseProgressDisplay(parsed->Has("quiet"), parsed->Has("progress"),
                                 StandardErrorIsTerminal()),
           // Files and bytes hashed of the total, as a backup shows those it copies.
           err, CopyProgressText);
    for (const VerifyProblem& problem : report.problems) {
        out << problem.Text() << '\n';
    }
    out << report.Summary() << '\n';
    if (report.cancelled) {
        return kExitInterrupted;
    }
    return report.Ok() ? kExitOk : kExitRefused;
}

int RunAdopt(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    int exitStatus = kExitOk;
    const auto parsed =
        ReadOneOperand(args, {kByOption}, "adopt needs the storage ROOT", out, err, exitStatus);
    if (!parsed) {
        return exitStatus;
    }
    const std::string& root = parsed->operands[0];
    const std::vector<std::string> files = VerifyStorage(root).UnrecordedFiles();
    if (files.empty()) {
        out << "台帳に記録のない書類はありません。\n";
        return kExitOk;
    }
    out << "既存の書類として記録します:\n";
    for (const std::string& file : files) {
        out << "  " << file << '\n';
    }
    StreamReporter reporter(err);
    const std::size_t adopted = AdoptFiles(Ledger(root), files, parsed->Value("by"), reporter);
    out << adopted << " 件を既存登録しました。\n";
    return adopted == files.size() ? kExitOk : kExitRefused;
}

int RunCorrect(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    int exitStatus = kExitOk;
    const auto parsed =
        ReadOneOperand(args,
                       {kSettingsOption,
                        kByOption,
                        {"reason", true, 1},
                        {"type", true, 1},
                        {"date", true, 1},
                        {"company", true, 1},
                        {"amount", true, 1},
                        {"extra", true, 5},
                        {"remark", true, 1},
                        {"source", true, 1}},
                       "correct needs the STORED_FILE to correct", out, err, exitStatus);
    if (!parsed) {
        return exitStatus;
    }
    auto settings = ReadSettings(*parsed, err, exitStatus);
    if (!settings) {
        return exitStatus;
    }
    const Ledger ledger(settings->COPY_SAKI_DIR);
    const std::string& stored = parsed->operands[0];
    // What is not given stays as the stored name tells it.
    FilingEntry entry = EntryOfStoredDocument(ledger, stored);
    entry.typeName = parsed->Value("type", entry.typeName);
    entry.date = HalfWidthDigits(parsed->Value("date", entry.date));
    entry.company = parsed->Value("company", entry.company);
    entry.amount = HalfWidthDigits(parsed->Value("amount", entry.amount));
    entry.remark = parsed->Value("remark", entry.remark);
    if (parsed->Has("extra")) {
        const ExtraAmountTexts extra = JoinExtraAmounts(parsed->Values("extra"));
        entry.extraPlain = extra.plain;
        entry.extraComma = extra.comma;
    }
    if (const auto refusal = RefuseUncontrolledInputs(entry, parsed->Values("extra"))) {
        err << *refusal << '\n';
        return kExitRefused;
    }
    StreamReporter reporter(err);
    const ChangeRequest request{stored, parsed->Value("reason"),
                                parsed->Value("by", settings->SYORI_TANTOUSYA)};
    if (CorrectDocument(ledger, request, entry, parsed->Value("source"), *settings, reporter) < 0) {
        return kExitRefused;
    }
    out << "訂正しました。\n";
    return kExitOk;
}

int RunDelete(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    int exitStatus = kExitOk;
    const auto parsed =
        ReadOneOperand(args, {kSettingsOption, kByOption, {"reason", true, 1}},
                       "delete needs the STORED_FILE to delete", out, err, exitStatus);
    if (!parsed) {
        return exitStatus;
    }
    auto settings = ReadSettings(*parsed, err, exitStatus);
    if (!settings) {
        return exitStatus;
    }
    StreamReporter reporter(err);
    const ChangeRequest request{parsed->operands[0], parsed->Value("reason"),
                                parsed->Value("by", settings->SYORI_TANTOUSYA)};
    if (DeleteDocument(Ledger(settings->COPY_SAKI_DIR), request, reporter) < 0) {
        return kExitRefused;
    }
    out << "削除しました（書類は訂正・削除前の書類として保管されています）。\n";
    return kExitOk;
}

int RunLog(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    int exitStatus = kExitOk;
    const auto parsed = ReadOneOperand(args, {{"csv", true, 1}, {"all", false, 1}},
                                       "log needs the storage ROOT", out, err, exitStatus);
    if (!parsed) {
        return exitStatus;
    }
    if (!parsed->Has("csv")) {
        return ReportUsageError(err, "log needs --csv OUT");
    }
    const LogExport result =
        WriteChangeLog(Ledger(parsed->operands[0]), parsed->Value("csv"), parsed->Has("all"));
    (result.ok ? out : err) << result.message << '\n';
    if (result.ok) {
        out << "行数: " << result.rows << '\n';
    }
    return result.ok ? kExitOk : kExitRefused;
}

void WriteLedgerHelp(std::ostream& out) {
    out << R"(Ledger commands (the ledger lies in the folder ふみばこ台帳 of the storage root):

  fumibako-cli verify [--progress | --quiet] ROOT
      Checks ROOT (the storage root, or a backup of it) against its ledger: the
      chain of records is intact, every recorded document is there with its size
      and SHA-256, every kept earlier version matches its record, and every file in
      the fiscal-year folders is recorded. Prints each problem and a summary;
      status 0 only when nothing is wrong, 130 when stopped.

  fumibako-cli adopt [--by NAME] ROOT
      Lists the files of ROOT no record claims (stored before the ledger existed,
      or copied in by hand) and records them as 既存登録.

  fumibako-cli correct STORED_FILE --reason TEXT [--by NAME] [--type NAME]
                       [--date YYYYMMDD] [--company TEXT] [--amount AMOUNT]
                       [--extra AMOUNT]... [--remark TEXT] [--source NEW_FILE]
                       [--settings-dir DIR]
      Files the corrected document (the fields not given stay as the stored name
      tells them; --source replaces the content) and moves the earlier file,
      unchanged and read-only, into the kept versions. Recorded as 訂正.

  fumibako-cli delete STORED_FILE --reason TEXT [--by NAME] [--settings-dir DIR]
      Moves the document into the kept versions; recorded as 削除. Nothing is ever
      destroyed.

      Corrections and deletions need a reason and a person: --by NAME, or the
      処理担当者 of the settings.

  fumibako-cli log ROOT --csv OUT [--all]
      Writes the records of corrections and deletions (--all: every record) to OUT
      as a Shift_JIS CSV file for a spreadsheet (訂正削除記録).
)";
}

} // namespace fmb::cli
