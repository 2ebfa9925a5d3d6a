#include "cli/StorageCommands.h"

#include "backup/CopyFolder.h"
#include "index/CCsvOut.h"
#include "platform/PathText.h"

#include <map>
#include <optional>
#include <set>

namespace fmb {
namespace {

constexpr const char* kIndexCommandHelp =
    "Usage: fumibako-cli index TARGET_FOLDER OUTPUT_CSV [--link-base FOLDER]\n"
    "\n"
    "Writes the index book (CSV, Shift_JIS) of every stored file under TARGET_FOLDER,\n"
    "normally a fiscal-year folder: one line per amount, with a hyperlink to the file.\n"
    "\n"
    "  --link-base FOLDER  write the paths relative to FOLDER, which must hold\n"
    "                      TARGET_FOLDER (usually the folder of OUTPUT_CSV);\n"
    "                      without it the paths are full paths\n"
    "  -h, --help          show this help\n"
    "\n"
    "Exit status: 0 written, 1 failed, 2 wrong usage.\n";

constexpr const char* kBackupCommandHelp =
    "Usage: fumibako-cli backup SOURCE_FOLDER DEST_FOLDER [--name NAME] [--into-existing]\n"
    "\n"
    "Copies the contents of SOURCE_FOLDER (the storage root or one fiscal-year folder)\n"
    "into the backup folder DEST_FOLDER/NAME, which is created. Files and folders whose\n"
    "names begin with \".\" are not copied; files keep their time and read-only mark.\n"
    "\n"
    "  --name NAME      name of the backup folder; default: the last part of\n"
    "                   SOURCE_FOLDER followed by today's date, e.g. 書類(20240105)\n"
    "  --into-existing  copy into the backup folder even when it exists already\n"
    "                   (read-only files there are not replaced: the copy stops)\n"
    "  -h, --help       show this help\n"
    "\n"
    "Exit status: 0 everything copied, 1 failed or stopped, 2 wrong usage.\n";

struct ParsedArgs {
    std::vector<std::string> positional;
    std::map<std::string, std::string> values;
    std::set<std::string> flags;
    bool help = false;
};

// Reads "--opt VALUE", "--opt=VALUE", flags and positional words; "--" ends the options.
// Returns nothing after writing the reason to err when the words do not fit.
std::optional<ParsedArgs> ParseArgs(const std::vector<std::string>& args,
                                    const std::set<std::string>& valueOptions,
                                    const std::set<std::string>& flagOptions, std::ostream& err) {
    ParsedArgs parsed;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (optionsEnded || word.size() < 2 || word[0] != '-') {
            parsed.positional.push_back(word);
            continue;
        }
        if (word == "--") {
            optionsEnded = true;
            continue;
        }
        if (word == "-h" || word == "--help") {
            parsed.help = true;
            continue;
        }
        const auto equals = word.find('=');
        const std::string option = word.substr(0, equals);
        if (valueOptions.count(option) != 0) {
            if (equals != std::string::npos) {
                parsed.values[option] = word.substr(equals + 1);
            } else if (i + 1 < args.size()) {
                parsed.values[option] = args[++i];
            } else {
                err << "fumibako-cli: " << option << " needs a value\n";
                return std::nullopt;
            }
        } else if (flagOptions.count(word) != 0) {
            parsed.flags.insert(word);
        } else {
            err << "fumibako-cli: unknown option " << word << "\n";
            return std::nullopt;
        }
    }
    return parsed;
}

int UsageError(std::ostream& err, const char* help, const std::string& reason) {
    err << "fumibako-cli: " << reason << "\n\n" << help;
    return 2;
}

} // namespace

int RunIndexCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const auto parsed = ParseArgs(args, {"--link-base"}, {}, err);
    if (!parsed) {
        err << "\n" << kIndexCommandHelp;
        return 2;
    }
    if (parsed->help) {
        out << kIndexCommandHelp;
        return 0;
    }
    if (parsed->positional.size() != 2) {
        return UsageError(err, kIndexCommandHelp, "index needs TARGET_FOLDER and OUTPUT_CSV");
    }
    const std::string& target = parsed->positional[0];
    const std::string& output = parsed->positional[1];
    std::string linkBase;
    if (const auto it = parsed->values.find("--link-base"); it != parsed->values.end()) {
        linkBase = it->second;
        AddTrailingBackslash(linkBase);
        // Every path would come out empty: refuse rather than write a book of dead links.
        if (linkBase.empty() || !WithTrailingSeparator(target).starts_with(linkBase)) {
            err << "相対パスで出力できません。対象フォルダ「" << target
                << "」がリンクの基準フォルダ「" << linkBase << "」の中にありません。\n";
            return 1;
        }
    }
    CCsvOut worker;
    const ExportResult result = worker.Output(output, target, linkBase);
    if (!result.ok) {
        err << result.message << "\n";
        return 1;
    }
    out << result.message << "\n"
        << "行数: " << result.rowsWritten << "\n";
    if (!result.warning.empty()) {
        err << result.warning << "\n";
    }
    return 0;
}

int RunBackupCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                     const Clock& clock) {
    const auto parsed = ParseArgs(args, {"--name"}, {"--into-existing"}, err);
    if (!parsed) {
        err << "\n" << kBackupCommandHelp;
        return 2;
    }
    if (parsed->help) {
        out << kBackupCommandHelp;
        return 0;
    }
    if (parsed->positional.size() != 2) {
        return UsageError(err, kBackupCommandHelp, "backup needs SOURCE_FOLDER and DEST_FOLDER");
    }
    const std::string& source = parsed->positional[0];
    const std::string& destination = parsed->positional[1];
    const auto name = parsed->values.find("--name");
    const std::string backupFolder = BackupFolderPath(
        destination,
        name != parsed->values.end() ? name->second : DefaultBackupName(source, clock));
    if (const auto refusal = CheckBackup(source, backupFolder)) {
        err << *refusal << "\n";
        return 1;
    }
    if (BackupFolderExists(backupFolder) && parsed->flags.count("--into-existing") == 0) {
        err << "すでに該当フォルダが存在します。\n\n"
            << backupFolder
            << "\n\n--name で別のバックアップ フォルダ名を指定してください。そのフォルダに"
               "コピーするときは --into-existing を付けてください。\n";
        return 1;
    }
    const CopyOutcome outcome = CopyFolder(source, backupFolder);
    if (!outcome.ok) {
        err << outcome.message << "\n";
        return 1;
    }
    out << outcome.message << "\n";
    return 0;
}

int RunBackupCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    return RunBackupCommand(args, out, err, SystemClock{});
}

} // namespace fmb
