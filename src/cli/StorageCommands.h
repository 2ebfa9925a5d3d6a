#pragma once

#include "platform/Clock.h"

#include <ostream>
#include <string>
#include <vector>

namespace fmb {

// `index TARGET_FOLDER OUTPUT_CSV [--link-base FOLDER]`: writes the index book of the target
// folder. args are the words after the command's name. Returns the exit status: 0 done,
// 1 failed (message on err), 2 wrong usage.
int RunIndexCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// `backup SOURCE_FOLDER DEST_FOLDER [--name NAME] [--into-existing]`: copies the contents of
// the source into DEST_FOLDER/NAME. The clock gives the date of the default name.
int RunBackupCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                     const Clock& clock);
int RunBackupCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace fmb
