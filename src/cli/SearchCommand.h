#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace fmb::cli {

// "search": prints the full paths of the stored documents under a storage root that match the
// given fields, one per line, sorted by date and then path; with --csv also writes them as an
// index book.
int RunSearch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The part of the help that describes the command.
void WriteSearchHelp(std::ostream& out);

} // namespace fmb::cli
