#pragma once

#include <optional>
#include <string>
#include <vector>

namespace fmb {

// Why a name may not join a type's company list; nothing when it may. Refused: an empty name, a
// name already listed (compared exactly, so a blank or a letter case makes another name), a name
// holding a character FMB_Corp.ini cannot keep, and one 実行 would refuse in the company field
// (with 実行's message). The text is the message for the user.
std::optional<std::string> RefuseCompanyToAdd(const std::string& name,
                                              const std::vector<std::string>& listed);

// Why a listed company may not be changed into this name: a character FMB_Corp.ini cannot keep,
// or one 実行 would refuse. An empty name or one already listed is taken as it is.
std::optional<std::string> RefuseCompanyToReplace(const std::string& name);

// Why a type may not be given this name: a character that a folder name or a stored file name
// cannot hold, or a name of dots alone that a folder cannot take (the name becomes the type
// folder and may stand in the remark of the file name).
// Characters the file's code page cannot keep are left to the save, which names them.
std::optional<std::string> RefuseTypeName(const std::string& name);

} // namespace fmb
