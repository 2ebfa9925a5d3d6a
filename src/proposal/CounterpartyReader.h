#pragma once

#include "proposal/Candidate.h"

#include <string>
#include <vector>

namespace fmb {

// What the reader knows besides the document.
struct CounterpartyContext {
    // The chosen type's company names, as the user keeps them.
    std::vector<std::string> knownCompanies;
    // The user issued the document (a type whose name ends in (控)): the counterparty is the
    // addressee, not the issuer.
    bool issuedDocument = false;
    // Companies earlier documents with the same registration numbers were filed under.
    std::vector<std::string> rememberedCompanies;
};

// The counterparty of a document, from its lines (see DocumentLines), best first: a company
// remembered for its registration number; then a company of the type's list that the document
// names where the counterparty stands (folded, so ㈱, (株) and 株式会社 and full-width letters
// match), given as the list spells it; then a name with a legal form (株式会社, (株), 有限会社 …)
// as the document writes it. The counterparty of a received document is its issuer, never the
// addressee before 御中 or 様; that of an issued document is that addressee.
std::vector<Candidate> ReadCounterparties(const std::vector<std::string>& lines,
                                          const CounterpartyContext& context);

// Whether a type holds documents the user issued: its name ends in (控), in any width.
bool IsIssuedDocumentType(const std::string& typeName);

} // namespace fmb
