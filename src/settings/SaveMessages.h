#pragma once

#include "settings/CFMBData.h"
#include "settings/CFMBSyameiData.h"

#include <string>
#include <string_view>

namespace fmb {

// The first character of the text that cannot be kept in an INI file (one that code page 932
// cannot store, or a line break, which would end the value's line); empty when there is none.
std::string FirstUnsavableChar(std::string_view text);

// How the character is named in a message: itself, or a description for a line break.
std::string ShownChar(const std::string& character);

// What the user is told when WriteIni did not write FMB_Setting.ini; result is what it returned.
// The file stays as it was.
std::string SaveFailureMessage(const CFMBData& settings, SaveResult result);
// The same for FMB_Corp.ini.
std::string SaveFailureMessage(const CFMBSyameiData& types, SaveResult result);

} // namespace fmb
