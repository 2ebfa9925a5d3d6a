#pragma once

#include "filing/Composition.h"
#include "ledger/Ledger.h"

#include <string>

namespace fmb {

// The entry a stored document's name and folders tell: the type is the folder below the
// fiscal-year folder, date, company, amounts and remark are read back from the name (the
// thousands separators and the date's underscores dropped, a ＜type＞ prefix of the remark left
// out), and sourcePath is the document itself, so that the name composed from the entry keeps
// its extension.
FilingEntry EntryOfStoredDocument(const Ledger& ledger, const std::string& storedPath);

} // namespace fmb
