#include "proposal/Proposals.h"

#include "proposal/AmountReader.h"
#include "proposal/CounterpartyReader.h"
#include "proposal/DateReader.h"
#include "proposal/DocumentText.h"
#include "proposal/RegistrationNumber.h"
#include "proposal/RegistrationStore.h"

namespace fmb {
namespace {

std::vector<Candidate> Best(std::vector<Candidate> ranked) {
    if (ranked.size() > FieldProposals::kMaxCandidates)
        ranked.resize(FieldProposals::kMaxCandidates);
    return ranked;
}

} // namespace

FieldProposals ProposeFields(std::string_view documentText, const ProposalContext& context,
                             const RegistrationStore* store) {
    const std::vector<std::string> lines = DocumentLines(documentText);
    FieldProposals proposals;
    proposals.registrationNumbers = ReadRegistrationNumbers(lines);
    CounterpartyContext counterparty{
        context.knownCompanies, IsIssuedDocumentType(context.typeName), {}};
    // The numbers of the issuer; an issued document carries the user's own.
    if (store && !counterparty.issuedDocument) {
        for (const std::string& number : proposals.registrationNumbers) {
            if (auto company = store->CompanyOf(number))
                counterparty.rememberedCompanies.push_back(std::move(*company));
        }
    }
    proposals.dates = Best(ReadDates(lines));
    proposals.amounts = Best(ReadAmounts(lines));
    proposals.companies = Best(ReadCounterparties(lines, counterparty));
    return proposals;
}

bool HasDateAndAmount(const FieldProposals& proposals) {
    // A due date or a subtotal alone is not what is wanted: a writer that dropped the issue
    // date or the total from the text layer leaves such lines.
    const auto found = [](const std::vector<Candidate>& ranked) {
        return !ranked.empty() && ranked.front().score >= 0;
    };
    return found(proposals.dates) && found(proposals.amounts);
}

std::string ProposalLines(const FieldProposals& proposals) {
    std::string out;
    const auto write = [&out](const char* field, const std::string& value) {
        out.append(field).append(" ").append(value).append("\n");
    };
    for (const Candidate& date : proposals.dates)
        write("date", date.value);
    for (const Candidate& amount : proposals.amounts)
        write("amount", amount.value);
    for (const Candidate& company : proposals.companies)
        write("company", company.value);
    for (const std::string& number : proposals.registrationNumbers)
        write("registration", number);
    return out;
}

} // namespace fmb
