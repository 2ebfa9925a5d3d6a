#include "cli/SearchCommand.h"

#include "cli/Arguments.h"
#include "platform/ErrorText.h"
#include "platform/ExeFolder.h"
#include "platform/FolderListing.h"
#include "platform/PathText.h"
#include "search/DatedPaths.h"
#include "search/StorageSearch.h"
#include "settings/CFMBData.h"

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <span>
#include <system_error>

namespace fmb::cli {
namespace {

const std::vector<OptionRule>& SearchOptionRules() {
    static const std::vector<OptionRule> rules = {
        {"from", true, 1},          {"to", true, 1},           {"min", true, 1},   {"max", true, 1},
        {"company", true, 1},       {"type", true, 1},         {"text", true, 1},  {"csv", true, 1},
        {"include-kept", false, 1}, {"settings-dir", true, 1}, {"help", false, 1},
    };
    return rules;
}

// The option that gives a field, as the user wrote it.
const char* OptionOf(SearchField field) {
    switch (field) {
    case SearchField::From:
        return "--from";
    case SearchField::To:
        return "--to";
    case SearchField::Min:
        return "--min";
    case SearchField::Max:
        return "--max";
    case SearchField::Company:
        return "--company";
    case SearchField::Type:
        return "--type";
    case SearchField::Text:
        return "--text";
    }
    return "";
}

SearchFields FieldsFrom(const ParsedArguments& parsed) {
    SearchFields fields;
    fields.from = parsed.Value("from");
    fields.to = parsed.Value("to");
    fields.min = parsed.Value("min");
    fields.max = parsed.Value("max");
    fields.company = parsed.Value("company");
    fields.type = parsed.Value("type");
    fields.text = parsed.Value("text");
    return fields;
}

std::string UnreadableFoldersNote(const ScanReport& report) {
    return "読み取れなかったフォルダが " + std::to_string(report.unreadableFolders) +
           " 個あります。その中の書類は検索されていません。\n最初のフォルダ: " +
           report.firstUnreadable + "\n" + DescribeError(report.firstError);
}

// One line per path, handed to out in large blocks: a listing of the whole storage holds
// hundreds of thousands of lines.
void WritePaths(std::ostream& out, const std::vector<FolderAndName>& paths) {
    constexpr std::size_t kBlockSize = 1 << 16;
    std::string block;
    block.reserve(kBlockSize + kMaxPathBytes + 1);
    for (const auto& [folder, name] : paths) {
        block.append(folder).append(name).push_back('\n');
        if (block.size() >= kBlockSize) {
            out.write(block.data(), static_cast<std::streamsize>(block.size()));
            block.clear();
        }
    }
    out.write(block.data(), static_cast<std::streamsize>(block.size()));
}

} // namespace

int RunSearch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const ParseOutcome outcome = ParseArguments(args, SearchOptionRules());
    if (outcome.error) {
        return ReportUsageError(err, *outcome.error);
    }
    const ParsedArguments& parsed = outcome.arguments;
    if (parsed.Has("help")) {
        WriteSearchHelp(out);
        return kExitOk;
    }
    if (parsed.operands.size() != 1) {
        return ReportUsageError(err, "search needs one ROOT folder");
    }
    // A field that cannot be searched is a wrong command line: nothing is searched.
    const CheckedSearch checked = CheckSearch(FieldsFrom(parsed));
    if (checked.refusal) {
        return ReportUsageError(err, std::string(OptionOf(checked.refusal->field)) + ": " +
                                         checked.refusal->message);
    }
    const std::string settingsFolder = parsed.Value("settings-dir", GetExeFolder());
    std::error_code error;
    if (!std::filesystem::is_directory(ToFsPath(settingsFolder), error)) {
        return ReportUsageError(err, "the settings folder " + settingsFolder + " does not exist");
    }
    CFMBData settings(settingsFolder);
    settings.ReadIni();
    const std::string& root = parsed.operands.front();
    if (!OpenFolder::Open(root, error).IsOpen()) {
        err << "保存先フォルダが見つかりません。\n" << root << '\n' << DescribeError(error) << '\n';
        return kExitRefused;
    }
    SearchOptions options;
    options.preferredForm =
        settings.KUGIRI_BER_FLG == 0 ? NameForm::Bracketed : NameForm::Underscore;
    options.kept = parsed.Has("include-kept") ? KeptVersions::Included : KeptVersions::LeftOut;
    // Each walking thread keeps what it finds apart; the paths are all the listing needs, and
    // whole hits are kept only for a book.
    const bool writesBook = parsed.Has("csv");
    struct Found {
        DatedPaths paths;
        std::vector<SearchHit> hits;
    };
    std::vector<Found> found(WalkThreads());
    std::vector<MatchSink> sinks;
    for (Found& kept : found) {
        sinks.push_back([&kept, writesBook](const SearchMatch& match) {
            kept.paths.Add(match.name.date, match.Path(), match.entry.fileName.size());
            if (writesBook) {
                kept.hits.push_back(match.ToHit());
            }
        });
    }
    const SearchReport report = SearchStorage(root, *checked.query, options, sinks);
    DatedPaths& paths = found.front().paths;
    std::vector<SearchHit>& hits = found.front().hits;
    for (Found& more : std::span(found).subspan(1)) {
        paths.Add(std::move(more.paths));
        std::move(more.hits.begin(), more.hits.end(), std::back_inserter(hits));
    }
    WritePaths(out, paths.Sorted());
    int status = kExitOk;
    if (writesBook) {
        const ExportResult book = WriteHitBook(parsed.Value("csv"), ByDateAndPath(hits), root);
        if (!book.ok) {
            err << book.message << '\n';
            status = kExitRefused;
        } else if (!book.warning.empty()) {
            err << book.warning << '\n';
        }
    }
    // The hits lack the documents of the folders that could not be read.
    if (report.scan.unreadableFolders != 0) {
        err << UnreadableFoldersNote(report.scan) << '\n';
        status = kExitRefused;
    }
    return status;
}

void WriteSearchHelp(std::ostream& out) {
    out << R"(Search command:

  fumibako-cli search [--from YYYYMMDD] [--to YYYYMMDD] [--min AMOUNT] [--max AMOUNT]
                      [--company TEXT] [--type NAME] [--text TEXT] [--include-kept]
                      [--csv OUT] [--settings-dir FOLDER] ROOT
      Prints the full paths of the stored documents under the storage root ROOT
      that match every field given, one per line, sorted by date and then path.
      Both name forms are read ([date][company][amount]... and date_company_amount).
      --from, --to        transaction dates, inclusive
      --min, --max        amounts, inclusive; a document matches when any of its
                          amounts does ("," ignored, negative amounts allowed)
      --company TEXT      contained in the counterparty; full-width and half-width
                          forms, letter case and ㈱/(株) count as the same
      --type NAME         the document type (its folder, or its ＜type＞ mark)
      --text TEXT         contained in the remark, folded as --company
      --include-kept      also search the ledger's folder of kept earlier versions
      --csv OUT           also write the hits as an index book (Shift_JIS CSV);
                          its links are relative when OUT lies in ROOT
      --settings-dir      the folder of FMB_Setting.ini (default: the program's)
      Status 0 whether or not anything matched; 1 when ROOT cannot be read, some
      folders could not be read or the book could not be written; 2 when the
      command line is wrong, a date does not exist, an amount is not a number or
      a range starts after its end (nothing is searched then).
)";
}

} // namespace fmb::cli
