#pragma once

#include <string_view>

// The folder directly under the storage root that holds the filing ledger and the
// earlier versions of corrected and deleted documents. It lies inside the root so
// every backup carries it; readers of stored names (the index book, the search)
// leave it out, because the kept versions still carry stored names.
inline constexpr std::string_view kLedgerFolderName = "ふみばこ台帳";
