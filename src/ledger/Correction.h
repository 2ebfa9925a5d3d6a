#pragma once

#include "filing/Composition.h"
#include "filing/EntryValidation.h"
#include "ledger/Ledger.h"
#include "platform/Reporter.h"

#include <optional>
#include <string>
#include <string_view>

namespace fmb {

// Results of a correction or a deletion; on failure the reporter has told why and the storage
// and the ledger are as they were.
namespace change_result {
inline constexpr int kDone = 0;
inline constexpr int kRefused = -1; // a check failed: nothing was touched
inline constexpr int kFailed = -2;  // a step failed and was undone
} // namespace change_result

// Who changes which document, and why.
struct ChangeRequest {
    std::string storedPath; // the live document (full path)
    std::string reason;     // required
    std::string person;     // 処理担当者, required
};

// Why a change cannot be made as asked: no reason, or no person; nothing when it may.
std::optional<std::string> RefuseChangeRequest(const ChangeRequest& request);

// Where the corrected document will be filed: entry composed with the settings, its extension
// taken from newSource when given, else from the stored document.
Destination CorrectedDestination(const ChangeRequest& request, FilingEntry entry,
                                 const std::string& newSource, const CFMBData& settings);

// The confirmations asked before a change, and what is said after it.
std::string CorrectionQuestion(const ChangeRequest& request, const std::string& correctedPath);
std::string DeletionQuestion(const ChangeRequest& request);
inline constexpr std::string_view kCorrectedMessage = "訂正しました。";
inline constexpr std::string_view kDeletedMessage =
    "削除しました（書類は「訂正・削除前の書類」に保管されています）。";

// Files the corrected document through the normal filing (validation, composition, exclusive
// publish, read-only mark) and moves the earlier file, unchanged and read-only, into the ledger's
// kept-versions folder; the 訂正 record names both with their hashes. The corrected document's
// content is newSource's when given, else the earlier file's. entry holds the corrected fields
// (its sourcePath is ignored); settings compose its folder and name.
int CorrectDocument(const Ledger& ledger, const ChangeRequest& request, const FilingEntry& entry,
                    const std::string& newSource, const CFMBData& settings, Reporter& reporter);

// Moves the document into the kept-versions folder and records the 削除.
int DeleteDocument(const Ledger& ledger, const ChangeRequest& request, Reporter& reporter);

} // namespace fmb
