#pragma once

#include "ledger/LedgerRecord.h"

#include <cstddef>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace fmb {

// Inside the ledger folder: the ledger itself, the folder of the earlier versions of corrected
// and deleted documents, and the lock file that exists while a record is being appended.
inline constexpr std::string_view kLedgerFileName = "ふみばこ台帳.txt";
inline constexpr std::string_view kKeptFolderName = "訂正・削除前の書類";
inline constexpr std::string_view kLedgerLockName = "ふみばこ台帳.lock";

// What reading a ledger found.
struct LedgerContents {
    bool exists = false;
    std::error_code error; // the ledger exists but could not be read
    std::vector<LedgerRecord> records;
    std::vector<std::size_t> recordLines; // the line number of each record (the header is 1)
    // Lines that are not where the chain says they should be: a line changed, a line removed
    // before it, lines swapped, or a line that is no record at all. Line numbers from 1.
    std::vector<std::size_t> brokenLines;
};

// The filing ledger of one storage root: one append-only text file (UTF-8, one record per line)
// in which every line carries the SHA-256 of the previous line's chain value and its own content,
// so that removing, changing or reordering any line is found.
class Ledger {
public:
    explicit Ledger(std::string storageRoot);

    const std::string& StorageRoot() const { return m_root; }
    std::filesystem::path FolderPath() const;
    std::filesystem::path FilePath() const;
    std::filesystem::path KeptFolderPath() const;
    // The ledger's path as a text for messages.
    std::string FileText() const;

    LedgerContents Read() const;

    // Appends the record under the ledger's lock, after whatever another process or computer
    // appended meanwhile: fills in the time (when empty), the computer and the chain value. The
    // ledger folder and the file with its header line are made when missing. On failure nothing
    // of the record stays in the file.
    std::error_code Append(LedgerRecord& record) const;

    // A path under the storage root as the ledger writes it (relative, "/" between levels);
    // empty when the path does not lie under the root.
    std::string RelativePath(const std::string& fullPath) const;
    // The full path (native separators) of a path the ledger wrote.
    std::string FullPath(std::string_view relativePath) const;

private:
    std::string m_root; // with a trailing separator
};

// A stored document as the ledger knows it.
struct RecordedDocument {
    std::string path; // relative, as the ledger writes it
    std::uint64_t size = 0;
    std::string sha256;
    const LedgerRecord* record = nullptr; // the record that put it there
};

// What the records say is stored now (the live documents) and what is kept of earlier versions.
class LedgerState {
public:
    explicit LedgerState(const std::vector<LedgerRecord>& records);

    const std::map<std::string, RecordedDocument>& Live() const { return m_live; }
    const std::vector<RecordedDocument>& Kept() const { return m_kept; }
    const RecordedDocument* LiveAt(const std::string& relativePath) const;
    // A live document with this content, or null.
    const RecordedDocument* WithContent(const std::string& sha256) const;
    // A live document with the same date, company and amounts, or null.
    const RecordedDocument* WithFields(const std::string& date, const std::string& company,
                                       const std::string& amount, const std::string& extra) const;

private:
    std::map<std::string, RecordedDocument> m_live;
    std::vector<RecordedDocument> m_kept;
};

// Why a record could not be written, naming the ledger; the caller says what that left undone.
std::string LedgerWriteFailedMessage(const Ledger& ledger, const std::error_code& error);

} // namespace fmb
