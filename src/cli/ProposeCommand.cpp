#include "cli/ProposeCommand.h"

#include "cli/Arguments.h"
#include "extract/DocumentText.h"
#include "platform/ExeFolder.h"
#include "platform/PathText.h"
#include "proposal/Proposals.h"
#include "proposal/RegistrationStore.h"
#include "settings/CFMBSyameiData.h"

#include <QString>

#include <filesystem>
#include <optional>
#include <system_error>

namespace fmb::cli {
namespace {

const char* ProblemText(SourceDocument::Problem problem) {
    switch (problem) {
    case SourceDocument::Problem::Missing:
        return "there is no file ";
    case SourceDocument::Problem::Unsupported:
        return "neither a PDF nor an image: ";
    case SourceDocument::Problem::Encrypted:
        return "the PDF is protected by a password: ";
    case SourceDocument::Problem::Unreadable:
    case SourceDocument::Problem::None:
        break;
    }
    return "the file cannot be read: ";
}

// The company list of the named type; nothing when the store has no such type.
std::optional<std::vector<std::string>> CompaniesOfType(const std::string& folder,
                                                        const std::string& typeName) {
    CFMBSyameiData types(folder);
    types.ReadIni();
    for (int slot = 0; slot < types.TypeCount(); ++slot) {
        if (types.TypeName(slot) == typeName) {
            std::vector<std::string> companies;
            types.GetCompanyNames(slot, companies);
            return companies;
        }
    }
    return std::nullopt;
}

} // namespace

int RunPropose(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const ParseOutcome outcome =
        ParseArguments(args, {{"settings-dir", true, 1}, {"type", true, 1}, {"help", false, 1}});
    if (outcome.error)
        return ReportUsageError(err, *outcome.error);
    const ParsedArguments& parsed = outcome.arguments;
    if (parsed.Has("help")) {
        WriteProposeHelp(out);
        return kExitOk;
    }
    if (parsed.operands.size() != 1)
        return ReportUsageError(err, parsed.operands.empty() ? "the FILE to read is missing"
                                                             : "more than one FILE");
    const std::string folder = parsed.Value("settings-dir", GetExeFolder());
    std::error_code error;
    if (!std::filesystem::is_directory(ToFsPath(folder), error))
        return ReportUsageError(err, "the settings folder " + folder + " does not exist");
    const std::string settingsFolder = WithTrailingSeparator(folder);

    ProposalContext context;
    if (parsed.Has("type")) {
        context.typeName = parsed.Value("type");
        const auto companies = CompaniesOfType(settingsFolder, context.typeName);
        if (!companies)
            return ReportUsageError(err, "no document type " + context.typeName + " in " +
                                             settingsFolder + "FMB_Corp.ini");
        context.knownCompanies = *companies;
    }

    const std::string& file = parsed.operands.front();
    const ExtractedText text = ExtractDocumentText(QString::fromStdString(file), {});
    if (text.problem != SourceDocument::Problem::None) {
        err << ProblemText(text.problem) << file << '\n';
        return kExitRefused;
    }
    const RegistrationStore store(settingsFolder);
    out << ProposalLines(ProposeFields(text.text, context, &store));
    return kExitOk;
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
      --type NAME         document type: its company list is matched first, and for a
                          type ending in (控) the addressee is the counterparty
      --help              this help
)";
}

} // namespace fmb::cli
