#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace fmb::cli {

// "verify ROOT": checks a storage root (or a backup) against its ledger; prints each problem and
// a summary; status 0 only when nothing is wrong.
int RunVerify(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// "adopt ROOT": lists the stored files no record claims and records them as 既存登録.
int RunAdopt(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// "correct STORED_FILE": files the corrected document and keeps the earlier one.
int RunCorrect(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// "delete STORED_FILE": takes the document out of the storage into the kept versions.
int RunDelete(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// "log ROOT --csv OUT": writes the record of corrections and deletions as a CSV.
int RunLog(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The part of the help that describes these commands.
void WriteLedgerHelp(std::ostream& out);

} // namespace fmb::cli
