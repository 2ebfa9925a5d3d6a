#pragma once

#include "filing/Composition.h"
#include "filing/EntryValidation.h"
#include "ledger/Ledger.h"
#include "platform/Reporter.h"

#include <string>

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
