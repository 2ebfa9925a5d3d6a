#pragma once

#include "ledger/Ledger.h"

#include <string>

namespace fmb {

// What writing the record of corrections and deletions did; message names the file.
struct LogExport {
    bool ok = false;
    std::size_t rows = 0;
    std::string message;
};

// Writes the ledger's 訂正 and 削除 records (every record when all is set) as a CP932 CSV that a
// spreadsheet opens: a title line, then one line per record, cells that could be taken for
// formulas shown as text. The file is replaced whole once complete. A character CP932 cannot
// hold is written as "?" and the message says so.
LogExport WriteChangeLog(const Ledger& ledger, const std::string& outputPath, bool all);

} // namespace fmb
