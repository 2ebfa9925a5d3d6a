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

// The company list of the named type; empty when the store has no such type.
std::vector<std::string> CompaniesOfType(const std::string& folder, const std::string& typeName) {
    CFMBSyameiData types(folder);
    types.ReadIni();
    std::vector<std::string> companies;
    for (int slot = 0; slot < types.TypeCount(); ++slot) {
        if (types.TypeName(slot) == typeName) {
            types.GetCompanyNames(slot, companies);
            break;
        }
    }
    return companies;
}

} // namespace

int ProposeFromDocument(const std::vector<std::string>& args, std::ostream& out,
                        std::ostream& err) {
    const ParseOutcome outcome = ParseArguments(
        args,
        {{"settings-dir", true, 1}, {"type", true, 1}, {"text", false, 1}, {"help", false, 1}});
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
    context.typeName = parsed.Value("type");
    context.knownCompanies = CompaniesOfType(settingsFolder, context.typeName);

    const std::string& file = parsed.operands.front();
    const ExtractedText text = ExtractDocumentText(QString::fromStdString(file), {});
    if (text.problem != SourceDocument::Problem::None) {
        err << ProblemText(text.problem) << file << '\n';
        return kExitRefused;
    }
    if (parsed.Has("text")) {
        out << text.text;
        return kExitOk;
    }
    const RegistrationStore store(settingsFolder);
    out << ProposalLines(ProposeFields(text.text, context, &store));
    return kExitOk;
}

} // namespace fmb::cli
