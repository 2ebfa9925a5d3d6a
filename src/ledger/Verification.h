#pragma once

#include "ledger/Ledger.h"

#include <cstddef>
#include <string>
#include <vector>

namespace fmb {

class JobMonitor;

// One thing a verification found wrong.
struct VerifyProblem {
    enum class Kind {
        ChainBroken,    // line: a ledger line removed, changed, reordered or unreadable
        Missing,        // path: a recorded document is not there
        Altered,        // path: a document's size or content is not what its record says
        Unrecorded,     // path: a stored file no live record claims
        KeptMissing,    // path: a kept earlier version is not there
        KeptAltered,    // path: a kept earlier version is not what its record says
        KeptUnrecorded, // path: a file among the kept versions no record names
        LedgerUnreadable,
    };
    Kind kind;
    std::string path; // full path
    std::size_t line = 0;

    // One line for the user, e.g. "改ざん: /root/2022年度/請求書/[..].pdf".
    std::string Text() const;
};

struct VerifyReport {
    bool ledgerExists = false;
    bool cancelled = false;
    std::size_t records = 0;
    std::size_t documentsChecked = 0; // live documents found as recorded
    std::size_t keptChecked = 0;      // kept versions found as recorded
    std::vector<VerifyProblem> problems;

    bool Ok() const { return problems.empty() && !cancelled; }
    // The full paths of the unrecorded files, for adopting them.
    std::vector<std::string> UnrecordedFiles() const;
    // The closing lines: how much was checked and how many problems of each kind.
    std::string Summary() const;
};

// Checks a storage root (or a backup copy of one) against its ledger: the chain is intact, every
// live record's file exists with its size and hash, every kept version matches its record, every
// file in the fiscal-year folders has a live record, and every file among the kept versions is
// named by a record (so that cutting off the ledger's last lines is found too). A monitor sees the
// files and bytes to hash and may stop the run (the report is then cancelled).
VerifyReport VerifyStorage(const std::string& storageRoot, JobMonitor* monitor = nullptr);

// Records the files as 既存登録 (stored before the ledger existed, or copied in by hand), with
// the fields their names and folders tell. Returns how many were recorded; stops at the first
// that cannot be read or recorded and tells the reporter why.
std::size_t AdoptFiles(const Ledger& ledger, const std::vector<std::string>& files,
                       const std::string& person, class Reporter& reporter);

} // namespace fmb
