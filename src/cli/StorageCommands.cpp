#include "cli/StorageCommands.h"

#include "backup/BackupChoices.h"
#include "backup/CopyFolder.h"
#include "cli/Arguments.h"
#include "cli/JobProgress.h"
#include "index/CCsvOut.h"
#include "jobs/ProgressText.h"
#include "platform/PathText.h"
#include "platform/Terminal.h"

#include <optional>
#include <utility>

namespace fmb::cli {
namespace {

// The options every long command takes for its progress line.
const OptionRule kProgressOption{"progress", false, 1};
const OptionRule kQuietOption{"quiet", false, 1};

ProgressDisplay DisplayFor(const ParsedArguments& parsed) {
    return ChooseProgressDisplay(parsed.Has("quiet"), parsed.Has("progress"),
                                 StandardErrorIsTerminal());
}

} // namespace

int RunIndex(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    int exitStatus = kExitOk;
    const auto parsed = ReadCommandLine(
        args, {{"link-base", true, 1}, kProgressOption, kQuietOption}, 2,
        "index needs TARGET_FOLDER and OUTPUT_CSV", WriteStorageHelp, out, err, exitStatus);
    if (!parsed) {
        return exitStatus;
    }
    const std::string& target = parsed->operands[0];
    const std::string& output = parsed->operands[1];
    std::string linkBase;
    if (parsed->Has("link-base")) {
        linkBase = parsed->Value("link-base");
        linkBase = WithTrailingSeparator(linkBase);
        // Every path would come out empty: refuse rather than write a book of dead links. (An
        // empty target is refused by the export itself.)
        if (!target.empty() &&
            (linkBase.empty() || !WithTrailingSeparator(target).starts_with(linkBase))) {
            err << "相対パスで出力できません。対象フォルダ「" << target
                << "」がリンクの基準フォルダ「" << linkBase << "」の中にありません。\n";
            return kExitRefused;
        }
    }
    CCsvOut worker;
    ExportResult result;
    RunJob([&](JobMonitor& monitor) { result = worker.Output(output, target, linkBase, &monitor); },
           DisplayFor(*parsed), err,
           [](const JobSnapshot& snapshot, double) { return ExportProgressText(snapshot); });
    if (result.cancelled) {
        err << result.message << '\n';
        return kExitInterrupted;
    }
    if (!result.ok) {
        err << result.message << '\n';
        return kExitRefused;
    }
    out << result.message << "\n行数: " << result.rowsWritten << '\n';
    if (!result.warning.empty()) {
        err << result.warning << '\n';
    }
    // The book lacks the documents of the folders it could not read.
    return result.unreadableFolders == 0 ? kExitOk : kExitRefused;
}

int RunBackup(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
              const Clock& clock) {
    int exitStatus = kExitOk;
    const auto parsed = ReadCommandLine(
        args, {{"name", true, 1}, {"into-existing", false, 1}, kProgressOption, kQuietOption}, 2,
        "backup needs SOURCE_FOLDER and DEST_FOLDER", WriteStorageHelp, out, err, exitStatus);
    if (!parsed) {
        return exitStatus;
    }
    const std::string& source = parsed->operands[0];
    const std::string name = parsed->Value("name", DefaultBackupName(source, clock));
    if (const auto refusal = CheckBackupName(name)) {
        err << *refusal << '\n';
        return kExitRefused;
    }
    const std::string backupFolder = BackupFolderPath(parsed->operands[1], name);
    if (const auto refusal = CheckBackup(source, backupFolder)) {
        err << *refusal << '\n';
        return kExitRefused;
    }
    // The window asks before it copies into an existing folder; a script says so up front.
    if (BackupFolderExists(backupFolder) && !parsed->Has("into-existing")) {
        err << "すでに該当フォルダが存在します。\n\n"
            << backupFolder
            << "\n\n--name で別のバックアップ フォルダ名を指定してください。そのフォルダに"
               "コピーするときは --into-existing を付けてください。\n";
        return kExitRefused;
    }
    CopyOutcome copy;
    RunJob([&](JobMonitor& monitor) { copy = CopyFolder(source, backupFolder, &monitor); },
           DisplayFor(*parsed), err, CopyProgressText);
    if (copy.cancelled) {
        err << copy.message << '\n';
        return kExitInterrupted;
    }
    if (!copy.ok) {
        err << copy.message << '\n';
        return kExitRefused;
    }
    out << copy.message << '\n';
    return kExitOk;
}

void WriteStorageHelp(std::ostream& out) {
    out << R"(Index book and backup commands:

  fumibako-cli index [--link-base FOLDER] [--progress | --quiet] TARGET_FOLDER OUTPUT_CSV
      Writes the index book of every stored file under TARGET_FOLDER (normally a
      fiscal-year folder) to OUTPUT_CSV: Shift_JIS, one line per amount, with a
      spreadsheet link to each file. The file is replaced once the new book is
      complete; a run that fails leaves it as it was. Prints "出力処理を終了しました。"
      and the number of rows; when some folders could not be read, also how many
      and the first of them, and the status is 1.
      --link-base FOLDER  write the paths relative to FOLDER, which must hold
                          TARGET_FOLDER (usually the folder of OUTPUT_CSV); without
                          it the paths are full paths
      --progress          show the folders and rows done on standard error, also
                          when it is not a terminal
      --quiet             show no progress, also on a terminal

  fumibako-cli backup [--name NAME] [--into-existing] [--progress | --quiet]
                      SOURCE_FOLDER DEST_FOLDER
      Copies the contents of SOURCE_FOLDER (the storage root or one fiscal-year
      folder) into the backup folder DEST_FOLDER/NAME, which is created. Names
      beginning with "." are not copied; files keep their time and read-only mark.
      Prints "コピー終了しました。" when everything was copied; the first file or
      folder that cannot be copied stops the copy (status 1), and what was copied
      before it stays.
      --name NAME         the backup folder's name, one folder name (no "/", not "."
                          or ".."); default: the last part of SOURCE_FOLDER followed by
                          today's date, e.g. 書類(20240105)
      --into-existing     copy into the backup folder even when it exists (a
                          read-only file already there is not replaced: the copy stops)
      --progress          show the files and bytes done and the time left on
                          standard error, also when it is not a terminal
      --quiet             show no progress, also on a terminal

  Progress: on a terminal both commands keep one line on standard error up to
  date (--quiet wins over --progress). Ctrl+C (SIGINT) or SIGTERM stops either
  command cleanly with status 130: a backup keeps the files copied until then,
  each one whole, and removes the unfinished copy of the file it was on; an
  index run leaves the book as it was. What was done is printed on standard
  error.
)";
}

} // namespace fmb::cli
