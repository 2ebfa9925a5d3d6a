#pragma once

#include "platform/Environment.h"

#include <string>

namespace fmb {

// Asks the desktop to open a file or folder; when nothing opens it, tells the user in a message
// that names the path, so a button never seems to do nothing.
void OpenPathOrTell(const Environment& env, const std::string& path);

// The same for a web page, named by its address.
void OpenUrlOrTell(const Environment& env, const std::string& url);

} // namespace fmb
