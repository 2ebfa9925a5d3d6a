#include "backup/CopyFolder.h"

#include "jobs/JobMonitor.h"
#include "jobs/ProgressText.h"
#include "ledger/Ledger.h"
#include "platform/DateText.h"
#include "platform/ErrorText.h"
#include "platform/FileCopy.h"
#include "platform/FileHash.h"
#include "platform/FolderChain.h"
#include "platform/FolderListing.h"
#include "platform/PathText.h"
#include "platform/ReadOnlyMark.h"
#include "platform/Sha256.h"
#include "platform/TemporaryFile.h"

#include <filesystem>
#include <map>
#include <memory>
#include <system_error>

namespace fs = std::filesystem;

namespace fmb {
namespace {

struct CopyWalk {
    fs::path destinationRoot;
    FolderChain chain;
    CopyOutcome outcome;
    JobMonitor* monitor = nullptr; // null: nobody watches, nobody cancels
    // The digest of every file copied, by its source path, as the copy was written; null when
    // the source has no ledger to check the copies against.
    std::map<std::string, ContentDigest>* digests = nullptr;

    bool CancelRequested() const { return monitor && monitor->CancelRequested(); }
};

// Names beginning with "." (hidden files and folders of the tools, ".git" and the like) are not
// part of a backup.
bool Skipped(std::string_view name) {
    return name.front() == '.';
}

bool SameFolder(const fs::path& a, const fs::path& b) {
    std::error_code error;
    return fs::equivalent(a, b, error);
}

bool Stop(CopyWalk& walk, const std::string& what, const std::string& path,
          const std::string& reason) {
    walk.outcome.ok = false;
    walk.outcome.message = "コピーを途中で中止しました。" + what + "\n\n" + path + "\n\n" + reason +
                           "\n\nそれまでにコピーしたファイルはバックアップ先に残っています。";
    return false;
}

bool StopAtFile(CopyWalk& walk, const std::string& source, const std::string& destination,
                const std::string& reason) {
    return Stop(walk, "次のファイルをコピーできませんでした。", source,
                "コピー先: " + destination + "\n" + reason);
}

// The user asked the copy to stop: what was copied stays, and the message says how much.
bool StopCancelled(CopyWalk& walk) {
    walk.outcome.ok = false;
    walk.outcome.cancelled = true;
    return false;
}

// True when a folder met in the walk of source is not entered: the backup being written, or a
// folder link back up the walk, which would copy a folder into itself.
bool PassedOver(const CopyWalk& walk, const std::string& folder, EntryKind kind) {
    return SameFolder(ToFsPath(folder), walk.destinationRoot) ||
           (kind == EntryKind::FolderLink && walk.chain.Holds(ToFsPath(folder)));
}

// Counts the files the copy will meet and their bytes, telling the monitor as the count grows.
// It walks as the copy does, through open folders, so that a file costs one status call
// relative to its folder; a folder it cannot read is left for the copy to report. path: the
// folder's text with a trailing separator.
void CountInto(CopyWalk& walk, const OpenFolder& folder, const std::string& path) {
    walk.chain.Enter(ToFsPath(path));
    folder.List([&](std::string_view name, EntryKind kind) {
        if (walk.CancelRequested()) {
            return false;
        }
        if (Skipped(name)) {
            return true;
        }
        const std::string entry(name);
        if (kind == EntryKind::File) {
            walk.monitor->AddToTotal(1, folder.FileSize(entry));
            return true;
        }
        const std::string subPath = path + entry + kPathSeparator;
        if (PassedOver(walk, subPath, kind)) {
            return true;
        }
        std::error_code error;
        const OpenFolder subfolder = folder.OpenSubfolder(entry, error);
        if (subfolder.IsOpen()) {
            CountInto(walk, subfolder, subPath);
        }
        return true;
    });
    walk.chain.Leave();
}

// The destination is looked at even in a folder this copy created: on a drive that ignores
// letter case, two names of the source can meet in one file there. The copy is written under a
// temporary name and takes the file's name only when complete, in one step: a full disk or a
// killed backup never leaves a file cut short, nor destroys the earlier copy it was to replace.
bool CopyOneFile(CopyWalk& walk, const std::string& source, const std::string& destination) {
    const fs::path to = ToFsPath(destination);
    std::error_code error;
    const fs::file_status status = fs::symlink_status(to, error);
    if (fs::is_symlink(status)) {
        return StopAtFile(walk, source, destination,
                          "コピー先の同じ名前の項目がリンクのため、リンク先を書き換えないよう"
                          "コピーしません。");
    }
    // A read-only file there is a document kept read-only on purpose; the permission bits alone
    // would not stop a privileged user from replacing it.
    if (IsReadOnlyFile(status)) {
        return StopAtFile(walk, source, destination,
                          "コピー先に読み取り専用の同じ名前のファイルがあるため、"
                          "置き換えられません。");
    }
    if (walk.monitor) {
        walk.monitor->SetCurrentItem(source);
    }
    // Between the blocks of a large file: a stop asked for now abandons the temporary, which the
    // TemporaryFile removes, and the file keeps its earlier copy, or has none.
    const CopyObserver observer = [monitor = walk.monitor](std::uint64_t blockBytes) {
        monitor->AddBytesDone(blockBytes);
        return !monitor->CancelRequested();
    };
    const SourceFile from(ToFsPath(source), error);
    if (!error) {
        TemporaryFile copy(to.parent_path(), error);
        Sha256 hash;
        if (!error) {
            error = CopyContents(
                from, copy, from.Permissions(), walk.monitor ? observer : CopyObserver{},
                walk.digests ? CopyTap([&hash](const char* data, std::size_t size) {
                    hash.Update(data, size);
                })
                             : CopyTap{});
        }
        if (!error && walk.digests) {
            (*walk.digests)[source] = {from.Size(), hash.HexDigest()};
        }
        if (!error) {
            error = fs::exists(status) ? copy.ReplaceAs(to) : copy.PublishAs(to);
        }
    }
    if (error == std::errc::operation_canceled) {
        return StopCancelled(walk);
    }
    if (error) {
        return StopAtFile(walk, source, destination, DescribeError(error));
    }
    ++walk.outcome.filesCopied;
    if (walk.monitor) {
        walk.monitor->AddItemsDone(1);
    }
    return true;
}

// True when the folder (a text with a trailing separator) is a link: a folder of the backup that
// leads elsewhere is never written through.
bool IsFolderLink(const std::string& folder) {
    fs::path path = ToFsPath(folder);
    if (!path.has_filename()) {
        path = path.parent_path();
    }
    std::error_code error;
    return fs::is_symlink(fs::symlink_status(path, error));
}

// source and destination: folder texts with a trailing separator.
bool CopyInto(CopyWalk& walk, const std::string& source, const std::string& destination) {
    if (IsFolderLink(destination)) {
        return Stop(walk, "次のコピー先フォルダはリンクのため、コピーできませんでした。",
                    destination, "リンク先を書き換えないよう、リンクの先へはコピーしません。");
    }
    std::error_code error;
    fs::create_directory(ToFsPath(destination), error);
    if (error) {
        return Stop(walk, "次のフォルダを作成できませんでした。", destination,
                    DescribeError(error));
    }
    walk.chain.Enter(ToFsPath(source));
    bool copied = true;
    error = ListFolder(source, [&](std::string_view name, EntryKind kind) {
        // Every file boundary, and every folder's, is a place to stop.
        if (walk.CancelRequested()) {
            copied = StopCancelled(walk);
            return false;
        }
        if (Skipped(name)) {
            return true;
        }
        std::string from = source;
        from.append(name);
        std::string to = destination;
        to.append(name);
        if (kind == EntryKind::File) {
            copied = CopyOneFile(walk, from, to);
            return copied;
        }
        from.push_back(kPathSeparator);
        to.push_back(kPathSeparator);
        if (PassedOver(walk, from, kind)) {
            return true;
        }
        copied = CopyInto(walk, from, to);
        return copied;
    });
    walk.chain.Leave();
    if (!copied) {
        return false;
    }
    if (error) {
        return Stop(walk, "次のフォルダを読み込めませんでした。", source, DescribeError(error));
    }
    return true;
}

// True when folder is inside (or is) container, following the folder's real location.
bool LiesWithin(const fs::path& folder, const fs::path& container) {
    std::error_code error;
    fs::path current = fs::canonical(folder, error);
    if (error) {
        return false;
    }
    while (true) {
        if (SameFolder(current, container)) {
            return true;
        }
        if (current == current.parent_path()) {
            return false;
        }
        current = current.parent_path();
    }
}

} // namespace

std::string DefaultBackupName(std::string_view source, const Clock& clock) {
    return LastComponent(source) + "(" + TodayText(clock) + ")";
}

std::string BackupFolderPath(std::string_view destination, std::string_view name) {
    return WithTrailingSeparator(destination) + WithTrailingSeparator(name);
}

bool BackupFolderExists(const std::string& backupFolder) {
    std::error_code error;
    return !backupFolder.empty() && fs::exists(ToFsPath(backupFolder), error);
}

std::optional<std::string> CheckBackup(const std::string& source, const std::string& backupFolder) {
    // An empty source would name the current folder or the root of the drive.
    if (source.empty()) {
        return "コピー対象フォルダが指定されていません。";
    }
    if (backupFolder.empty()) {
        return "コピー先フォルダとバックアップ フォルダ名が指定されていません。";
    }
    std::error_code error;
    if (!fs::is_directory(ToFsPath(source), error)) {
        return "コピー対象フォルダが見つかりません。\n\n" + source;
    }
    if (BackupFolderExists(backupFolder) && LiesWithin(ToFsPath(source), ToFsPath(backupFolder))) {
        return "コピー対象フォルダがバックアップ先のフォルダと同じか、その中にあるため、"
               "コピーできません。\n\nコピー対象: " +
               source + "\nバックアップ先: " + backupFolder;
    }
    return std::nullopt;
}

namespace {

// The ledger that records the documents of source: its own (source is a storage root) or its
// parent's (source is a fiscal-year folder); null when there is none.
std::unique_ptr<Ledger> LedgerOf(const std::string& source) {
    std::error_code error;
    auto own = std::make_unique<Ledger>(source);
    if (fs::exists(own->FilePath(), error)) {
        return own;
    }
    fs::path folder = ToFsPath(source).lexically_normal();
    if (!folder.has_filename()) {
        folder = folder.parent_path(); // written with a trailing separator
    }
    const fs::path parent = folder.parent_path();
    auto parents = std::make_unique<Ledger>(FromFsPath(parent));
    if (fs::exists(parents->FilePath(), error)) {
        return parents;
    }
    return nullptr;
}

// Checks every copied document against its record; the outcome's message says how many were
// checked, or names the first that does not match.
void CheckAgainstLedger(const Ledger& ledger, const std::map<std::string, ContentDigest>& digests,
                        CopyOutcome& outcome) {
    const LedgerContents contents = ledger.Read();
    const LedgerState state(contents.records);
    std::vector<RecordedDocument> recorded = state.Kept();
    for (const auto& [path, document] : state.Live()) {
        recorded.push_back(document);
    }
    std::size_t verified = 0;
    for (const RecordedDocument& document : recorded) {
        const std::string path = ledger.FullPath(document.path);
        const auto copied = digests.find(path);
        if (copied == digests.end()) {
            continue; // outside the copied folder
        }
        if (copied->second != ContentDigest{document.size, document.sha256}) {
            outcome.ok = false;
            outcome.message =
                "コピーした書類が台帳の記録と一致しません（保存後に変更されています）。\n\n" +
                path + "\n\n「検証」で確かめてください。";
            return;
        }
        ++verified;
    }
    outcome.message += "\n台帳と照合した書類: " + std::to_string(verified) + " 件";
}

} // namespace

CopyOutcome CopyFolder(const std::string& source, const std::string& destination,
                       JobMonitor* monitor) {
    if (auto refusal = CheckBackup(source, destination)) {
        return CopyOutcome{false, false, 0, std::move(*refusal)};
    }
    CopyWalk walk;
    walk.destinationRoot = ToFsPath(destination);
    walk.monitor = monitor;
    const std::unique_ptr<Ledger> ledger = LedgerOf(source);
    std::map<std::string, ContentDigest> digests;
    if (ledger) {
        walk.digests = &digests;
    }
    walk.outcome.ok = true;
    const std::string from = WithTrailingSeparator(source);
    if (monitor) {
        std::error_code error;
        if (const OpenFolder top = OpenFolder::Open(from, error); top.IsOpen()) {
            CountInto(walk, top, from);
        }
        monitor->SetTotalFinal();
    }
    // Stopped while counting: not even the backup folder is made.
    if (walk.CancelRequested()) {
        StopCancelled(walk);
    } else if (CopyInto(walk, from, WithTrailingSeparator(destination))) {
        walk.outcome.message = kBackupDoneMessage;
        if (ledger) {
            CheckAgainstLedger(*ledger, digests, walk.outcome);
        }
    }
    if (walk.outcome.cancelled) {
        walk.outcome.message =
            CancelledCopyMessage(walk.outcome.filesCopied, monitor->Snapshot().itemsTotal);
    }
    if (monitor) {
        monitor->SetCurrentItem({});
    }
    return walk.outcome;
}

} // namespace fmb
