#pragma once

#include "filing/Composition.h"

#include <optional>
#include <span>
#include <string>

namespace fmb {

// The values of an entry that the filing window takes only from controls which keep them in
// bounds: the type (a name of the type list, checked by the company-name editor), the amount's
// length (the amount field's limit), the extra amounts (the fields of the multiple-amounts
// dialog, checked here as the amount is) and the source's extension (it ends the stored name).
// A caller that takes them from elsewhere, like the command line, checks them here as well as
// with ValidateEntry. extraAmounts are the texts as given, before JoinExtraAmounts. Returns the
// message of the first refusal: the type, the amount, each extra amount in order, the source.
std::optional<std::string> RefuseUncontrolledInputs(const FilingEntry& entry,
                                                    std::span<const std::string> extraAmounts);

} // namespace fmb
