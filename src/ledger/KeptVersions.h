#pragma once

#include "ledger/Ledger.h"
#include "platform/FileHash.h"

#include <string>
#include <system_error>

namespace fmb {

// Where an earlier version of the stored document at relativePath is kept: below the
// kept-versions folder, in the folders it lay in, its name preceded by the time it was taken
// out, e.g. 2022年度/請求書/20261210-141822_[2022_12_31][A社][500].pdf (relative to the root,
// "/" between levels).
std::string KeptPathFor(const Ledger& ledger, const std::string& relativePath,
                        const std::string& timestamp);

// Moves a file to a path that must not exist yet, creating the folders on the way; the file stays
// as it is, read-only mark and time included. Within one file system it is renamed; across file
// systems it is copied, the copy is checked against expected, and only then the original is
// removed.
std::error_code MoveUnchanged(const std::string& from, const std::string& to,
                              const ContentDigest& expected);

} // namespace fmb
