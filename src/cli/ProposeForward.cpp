#include "cli/ProposeCommand.h"

#include "cli/Arguments.h"
#include "platform/SiblingProgram.h"

namespace fmb::cli {

// Reading a document's text needs Qt's PDF module and Tesseract, which take a noticeable time
// to load; they live in a program of their own beside this one, so every other command starts
// as fast as before.
int RunPropose(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    out.flush();
    err.flush();
    std::error_code error;
    const int status = RunSiblingProgram(kProposeProgram, args, error);
    if (error) {
        err << "propose: " << kProposeProgram << " could not be started: " << error.message()
            << '\n';
        return kExitRefused;
    }
    return status;
}

void WriteProposeHelp(std::ostream& out) {
    out << R"(Proposals:

  fumibako-cli propose [OPTIONS] FILE
      Reads a PDF or an image (its text layer, else OCR) and prints what it proposes
      for the entry, best first within each field, one a line:
          date 20230331
          amount 110000
          company (株)国税商事
          registration T1234567890123
      Proposals are suggestions: check them against the document. Exit status 0 also
      when nothing was found, 1 when the file cannot be read.

  Options:
      --settings-dir DIR  folder holding FMB_Corp.ini and the registration numbers
                          remembered by the desktop program (default: the program's folder)
      --type NAME         document type: its company list in FMB_Corp.ini is matched
                          first, and for a type ending in (控) the addressee is the
                          counterparty
      --text              print the text the proposals are read from instead (the
                          text layer and what OCR recognised)
      --help              this help
)";
}

} // namespace fmb::cli
