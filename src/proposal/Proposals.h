#pragma once

#include "proposal/Candidate.h"

#include <string>
#include <string_view>
#include <vector>

namespace fmb {

class RegistrationStore;

// What a document proposes for the filing entry, each list best first and at most
// kMaxCandidates long. Proposals are suggestions: nothing here fills a field.
struct FieldProposals {
    static constexpr std::size_t kMaxCandidates = 5;

    std::vector<Candidate> dates;   // YYYYMMDD
    std::vector<Candidate> amounts; // plain digits
    std::vector<Candidate> companies;
    std::vector<std::string> registrationNumbers; // T and 13 digits, check digit verified

    bool operator==(const FieldProposals&) const = default;
};

// The entry the document is being filed in, as far as it matters to the proposals.
struct ProposalContext {
    std::string typeName;                    // decides issued (…(控)) or received
    std::vector<std::string> knownCompanies; // the type's company list
};

// Reads the proposals from a document's text (UTF-8, as extracted or recognised). store may be
// null; otherwise a company remembered for a registration number the document carries is
// proposed first.
FieldProposals ProposeFields(std::string_view documentText, const ProposalContext& context,
                             const RegistrationStore* store);

// Whether the text is worth no second look by OCR: it yields a date and an amount, and neither
// is only a due date, a subtotal or a tax line.
bool HasDateAndAmount(const FieldProposals& proposals);

// The proposals one a line, best first within each field: "date 20230331", "amount 110000",
// "company (株)国税商事", "registration T1234567890123".
std::string ProposalLines(const FieldProposals& proposals);

} // namespace fmb
