#include "cli/ProposeCommand.h"

#include "cli/Arguments.h"

namespace fmb::cli {

// This build reads no PDF or image text (no Qt PDF module or Tesseract where it was built).
int RunPropose(const std::vector<std::string>& /*args*/, std::ostream& /*out*/, std::ostream& err) {
    err << "propose is not available in this build: it needs Qt's PDF module and Tesseract\n";
    return kExitRefused;
}

void WriteProposeHelp(std::ostream& out) {
    out << R"(Proposals:

  fumibako-cli propose FILE
      Not available in this build (it needs Qt's PDF module and Tesseract).
)";
}

} // namespace fmb::cli
