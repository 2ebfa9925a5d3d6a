#pragma once

#include "platform/Clock.h"

#include <ostream>
#include <string>
#include <vector>

namespace fmb::cli {

// "index": writes the index book (CSV) of a folder; prints "出力処理を終了しました。" and the
// number of rows, or the reason it failed on err.
int RunIndex(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// "backup": copies the contents of a folder into a dated backup folder; prints
// "コピー終了しました。" when everything was copied, or where and why it stopped on err. The
// clock gives the date of the default backup folder name.
int RunBackup(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
              const Clock& clock);

// The part of the help that describes the two commands.
void WriteStorageHelp(std::ostream& out);

} // namespace fmb::cli
