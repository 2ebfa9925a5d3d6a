#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace fmb {

// The operations a ledger records.
inline constexpr std::string_view kOpFiled = "登録";       // a document filed
inline constexpr std::string_view kOpAdopted = "既存登録"; // a document found stored, recorded
inline constexpr std::string_view kOpCorrected = "訂正";   // a document replaced by its correction
inline constexpr std::string_view kOpDeleted = "削除";     // a document taken out of the storage

// One line of the ledger. Paths are relative to the storage root and written with "/", so that
// a ledger reads the same on every system and in every backup.
struct LedgerRecord {
    std::string time;      // local date and time with its offset, 2026-12-10T14:18:22+09:00
    std::string operation; // one of the kOp texts
    std::string path;      // the document as it now lies; empty for a deletion
    std::uint64_t size = 0;
    std::string sha256;
    std::string earlierPath; // correction and deletion: where the document lay before
    std::uint64_t earlierSize = 0;
    std::string earlierSha256;
    std::string keptPath; // correction and deletion: where the earlier file is kept
    std::string type, date, company, amount, extra, remark;
    std::string sourceName; // the name of the file the document was copied from
    std::string person;     // 処理担当者
    std::string reason;     // correction and deletion
    std::string note;       // e.g. that a duplicate was filed knowingly
    std::string computer;
    std::string chain; // SHA-256 of the previous line's chain value and this line's content

    bool operator==(const LedgerRecord&) const = default;
};

// The first line of every ledger: the column titles. The chain starts from its hash.
std::string LedgerHeaderLine();

// The line of a record without its chain value and without the line feed: the fields joined by
// tabs, a tab, line break or backslash inside a field written as \t, \n, \r or \\.
std::string RecordContent(const LedgerRecord& record);

// The chain value of a line whose content follows the line with chain value previous.
std::string ChainValue(std::string_view previous, std::string_view content);

// The chain value the first record follows.
std::string FirstChainValue();

// The whole line (content, tab, chain value), without the line feed.
std::string RecordLine(const LedgerRecord& record);

// Reads a line back; nothing when it is not a record line (wrong number of fields, a size that
// is no number, a bad escape).
std::optional<LedgerRecord> ParseRecordLine(std::string_view line);

// The content part of a line (everything before its last tab).
std::string_view ContentOfLine(std::string_view line);

} // namespace fmb
