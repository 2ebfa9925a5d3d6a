#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace fmb::cli {

// The program beside fumibako-cli that reads documents' text for "propose".
inline constexpr const char* kProposeProgram = "fumibako-propose";

// "propose": prints what a document's own text proposes for the entry, best first, one a line
// ("date 20230331", "amount 110000", "company (株)国税商事", "registration T…"). Exit 0 also when
// nothing was found; 1 when the file cannot be read, or in a build without text extraction.
// fumibako-cli hands the command to kProposeProgram, which runs ProposeFromDocument.
int RunPropose(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The work of "propose" itself: args are the command's arguments without its name.
int ProposeFromDocument(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The part of the help that describes the command.
void WriteProposeHelp(std::ostream& out);

} // namespace fmb::cli
