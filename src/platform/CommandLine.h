#pragma once

#include <string>
#include <vector>

namespace fmb {

// The program's arguments (without the program's name) as UTF-8. On Windows they are taken from
// the wide command line: the char arguments of main are in the ANSI code page, which cannot hold
// every Japanese name.
std::vector<std::string> CommandLineArguments(int argc, char** argv);

// Makes the console show the UTF-8 text the program writes (Windows' console expects its own
// code page otherwise); nothing to do elsewhere.
void UseUtf8Console();

} // namespace fmb
