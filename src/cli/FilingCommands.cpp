#include "cli/FilingCommands.h"

#include "filing/AmountText.h"

#include "cli/Arguments.h"
#include "cli/StreamReporter.h"
#include "filing/Composition.h"
#include "filing/CopyIntoStorage.h"
#include "filing/EntryValidation.h"
#include "filing/InputChecks.h"
#include "ledger/LedgerFiling.h"
#include "platform/DecimalText.h"
#include "platform/ExeFolder.h"
#include "platform/PathText.h"
#include "settings/CFMBData.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <system_error>

namespace fmb::cli {
namespace {

// As many as the multiple-amounts dialog holds besides the first amount.
constexpr int kMaxExtraAmounts = 5;

const std::vector<OptionRule>& EntryOptions() {
    static const std::vector<OptionRule> rules = {
        {"settings-dir", true, 1}, {"type", true, 1},   {"date", true, 1},
        {"company", true, 1},      {"amount", true, 1}, {"extra", true, kMaxExtraAmounts},
        {"remark", true, 1},       {"by", true, 1},     {"allow-duplicate", false, 1},
        {"help", false, 1},
    };
    return rules;
}

// The entry of a command line; the extra amounts are joined the way the multiple-amounts dialog
// joins them.
FilingEntry EntryFrom(const ParsedArguments& parsed) {
    FilingEntry entry;
    entry.sourcePath = parsed.operands.empty() ? std::string() : parsed.operands.front();
    entry.typeName = parsed.Value("type");
    // Digits typed in full width are the same digits, as in the filing window.
    entry.date = HalfWidthDigits(parsed.Value("date"));
    entry.company = parsed.Value("company");
    entry.amount = HalfWidthDigits(parsed.Value("amount"));
    entry.remark = parsed.Value("remark");
    const ExtraAmountTexts extra = JoinExtraAmounts(parsed.Values("extra"));
    entry.extraPlain = extra.plain;
    entry.extraComma = extra.comma;
    return entry;
}

// A command's entry and settings, read from its command line.
struct Request {
    FilingEntry entry;
    std::vector<std::string> extraAmounts; // as given, before they are joined into the entry
    std::unique_ptr<CFMBData> settings;
    std::string person; // --by, else the settings' 処理担当者
    bool allowDuplicate = false;
};

// Reads the command line of compose or file; on a wrong command line tells err and returns the
// exit status in exitStatus. sourceRequired: the command needs a SOURCE.
std::optional<Request> ReadRequest(const std::vector<std::string>& args, bool sourceRequired,
                                   std::ostream& out, std::ostream& err, int& exitStatus) {
    const ParseOutcome outcome = ParseArguments(args, EntryOptions());
    if (outcome.error) {
        exitStatus = ReportUsageError(err, *outcome.error);
        return std::nullopt;
    }
    const ParsedArguments& parsed = outcome.arguments;
    if (parsed.Has("help")) {
        WriteFilingHelp(out);
        exitStatus = kExitOk;
        return std::nullopt;
    }
    if (parsed.operands.size() > 1) {
        exitStatus = ReportUsageError(err, "more than one SOURCE: " + parsed.operands[1]);
        return std::nullopt;
    }
    if (sourceRequired && parsed.operands.empty()) {
        exitStatus = ReportUsageError(err, "the SOURCE file to file is missing");
        return std::nullopt;
    }
    const std::string folder = parsed.Value("settings-dir", GetExeFolder());
    std::error_code error;
    if (!std::filesystem::is_directory(ToFsPath(folder), error)) {
        exitStatus = ReportUsageError(err, "the settings folder " + folder + " does not exist");
        return std::nullopt;
    }
    Request request{EntryFrom(parsed),
                    parsed.Values("extra"),
                    std::make_unique<CFMBData>(folder),
                    {},
                    parsed.Has("allow-duplicate")};
    // An absent FMB_Setting.ini gives the values of a first start.
    request.settings->ReadIni();
    request.person = parsed.Value("by", request.settings->SYORI_TANTOUSYA);
    return request;
}

// The command line settles a duplicate by its options: the same content is refused unless
// --allow-duplicate is given; the same fields only bring a warning.
class CommandLineDuplicates final : public DuplicateDecision {
public:
    CommandLineDuplicates(bool allowed, std::ostream& err) : m_allowed(allowed), m_err(err) {}

    bool FileSameContent(const std::string& storedPath) override {
        m_err << (m_allowed ? "注意: " : "")
              << "同じ内容の書類がすでに保存されています: " << storedPath << '\n';
        if (!m_allowed) {
            m_err << "二重に保存するときは --allow-duplicate を付けてください。\n";
        }
        return m_allowed;
    }
    bool FileSameFields(const std::string& storedPath) override {
        m_err << "注意: 日付・会社名・金額が同じ書類がすでに保存されています（内容は異なります）: "
              << storedPath << '\n';
        return true;
    }

private:
    bool m_allowed;
    std::ostream& m_err;
};

} // namespace

int RunCompose(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    int exitStatus = kExitOk;
    const auto request = ReadRequest(args, false, out, err, exitStatus);
    if (!request) {
        return exitStatus;
    }
    const Destination destination = ComposeDestination(request->entry, *request->settings);
    out << destination.folder << '\n' << destination.fileName << '\n';
    return kExitOk;
}

int RunFile(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    int exitStatus = kExitOk;
    const auto request = ReadRequest(args, true, out, err, exitStatus);
    if (!request) {
        return exitStatus;
    }
    if (const auto refusal = ValidateEntry(request->entry)) {
        err << refusal->message << '\n';
        return kExitRefused;
    }
    if (const auto refusal = RefuseUncontrolledInputs(request->entry, request->extraAmounts)) {
        err << *refusal << '\n';
        return kExitRefused;
    }
    const Destination destination = ComposeDestination(request->entry, *request->settings);
    StreamReporter reporter(err);
    const Ledger ledger(request->settings->COPY_SAKI_DIR);
    CommandLineDuplicates duplicates(request->allowDuplicate, err);
    LedgerFilingRecorder recorder(ledger, FactsOf(request->entry, request->person), duplicates,
                                  reporter);
    const CopyResult result =
        CopyIntoStorage(request->entry.sourcePath, request->settings->COPY_SAKI_DIR,
                        destination.folder, destination.fileName, reporter, &recorder);
    if (result != CopyResult::Filed) {
        return kExitRefused;
    }
    out << "コピーしました。\n" << StoredFilePath(destination.folder, destination.fileName) << '\n';
    return kExitOk;
}

void WriteFilingHelp(std::ostream& out) {
    out << R"(Filing commands:

  fumibako-cli compose [OPTIONS] [SOURCE]
      Shows where a document would be filed: the destination folder on the first
      line and the file name on the second. Nothing is checked or copied.

  fumibako-cli file [OPTIONS] SOURCE
      Checks the entry the way the filing window does and files a read-only copy of
      SOURCE: missing folders are created, nothing is ever overwritten. Prints
      "コピーしました。" and the stored file's path; a refused entry prints the reason
      on standard error and exits with status 1. Every filing is recorded in the
      storage root's ledger; when the record cannot be written, the document is
      taken out again and the filing fails.

  Options of both commands:
      --settings-dir DIR  folder holding FMB_Setting.ini (default: the program's folder);
                          without that file the first-start settings apply
      --type NAME         document type (type folder, and the remark prefix if set)
      --date YYYYMMDD     transaction date, eight digits
      --company TEXT      counterparty company
      --amount AMOUNT     the (first) amount, digits without separators
      --extra AMOUNT      a further amount of the same document; up to five, in order
      --remark TEXT       optional remark
      --by NAME           (file) the person recorded in the ledger (default: the
                          処理担当者 of the settings)
      --allow-duplicate   (file) file a document whose content is stored already;
                          without it such a filing is refused with status 1
      --help              this help
)";
}

} // namespace fmb::cli
