#pragma once

#include "platform/Clock.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace fmb {

class JobMonitor;

// What a backup copy did; the caller shows message.
struct CopyOutcome {
    bool ok = false;
    bool cancelled = false;      // the user stopped it; message says how far it came
    std::size_t filesCopied = 0; // files copied, also those copied before a failure
    std::string message;         // the end message, or why the copy stopped (naming the item)
};

inline constexpr std::string_view kBackupDoneMessage = "コピー終了しました。";

// The backup folder's default name: the source's last component followed by today's date in
// parentheses, e.g. 書類(20240105).
std::string DefaultBackupName(std::string_view source, const Clock& clock);

// destination + name, each with a trailing separator: the folder that receives the copy. An
// empty destination leaves the name alone, a folder relative to the current folder.
std::string BackupFolderPath(std::string_view destination, std::string_view name);

// True when something (a folder, or anything else) already has the backup folder's path.
bool BackupFolderExists(const std::string& backupFolder);

// Why a copy of source into backupFolder must not start: an empty or missing source, no backup
// folder, or a backup folder that is the source or holds it. Nothing when the copy may start.
std::optional<std::string> CheckBackup(const std::string& source, const std::string& backupFolder);

// Copies the contents of source into destination (created, one level, when missing) with their
// folder structure. Names beginning with "." are skipped; files keep their modification time
// and their read-only mark; an existing file is replaced, in one step, unless it is read-only. A
// link in the destination (to a file or a folder) is never written through: it stops the copy.
// The walk never descends into destination itself, should it lie inside source. The first
// failure stops the copy; what was copied before it stays.
//
// With a monitor, the files and bytes to copy are counted first (the monitor sees the count
// grow), then the copy reports every file and every block of a large one. A stop asked for
// through the monitor takes effect at the next file boundary, or between two blocks of a large
// file: that file's unfinished copy is removed, so the backup holds only whole files, and the
// outcome is cancelled with CancelledCopyMessage.
//
// When source is a storage root with a ledger (or a fiscal-year folder of one), every file is
// digested as its copy is written, and at the end every copied document is checked against its
// record: the message then says how many were checked, and a copy that does not match its
// record fails the backup, naming the file.
CopyOutcome CopyFolder(const std::string& source, const std::string& destination,
                       JobMonitor* monitor = nullptr);

} // namespace fmb
