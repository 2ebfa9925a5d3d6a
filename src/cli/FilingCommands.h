#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace fmb::cli {

// "compose": prints the destination folder (line 1) and the file name (line 2) of an entry.
int RunCompose(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// "file": checks an entry and files a copy of its source; prints "コピーしました。" and the stored
// file's path, or the reason it was refused on err.
int RunFile(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The part of the help that describes the two commands.
void WriteFilingHelp(std::ostream& out);

} // namespace fmb::cli
