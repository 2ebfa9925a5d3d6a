#include "proposal/CompanyName.h"

#include "platform/SearchFold.h"

#include <array>
#include <utility>

namespace fmb {
namespace {

constexpr std::array<std::string_view, 6> kLongForms = {"株式会社", "有限会社", "合同会社",
                                                        "合資会社", "合名会社", "社団法人"};

constexpr std::array<std::pair<std::string_view, std::string_view>, 6> kShortForms = {{
    {"(株)", "株式会社"},
    {"(有)", "有限会社"},
    {"(同)", "合同会社"},
    {"(資)", "合資会社"},
    {"(名)", "合名会社"},
    {"(社)", "社団法人"},
}};

} // namespace

std::string FoldedCompanyName(std::string_view name) {
    // The search's folding (width, case, enclosed forms), without the spaces a document's layout
    // puts between the parts of a name.
    std::string folded;
    for (const char c : FoldForSearch(name)) {
        if (c != ' ' && c != '\t')
            folded += c;
    }
    for (const auto& [shortForm, longForm] : kShortForms) {
        for (std::size_t at = folded.find(shortForm); at != std::string::npos;
             at = folded.find(shortForm, at + longForm.size()))
            folded.replace(at, shortForm.size(), longForm);
    }
    return folded;
}

std::string FoldedNameWithoutLegalForm(std::string_view name) {
    std::string folded = FoldedCompanyName(name);
    for (std::string_view form : kLongForms) {
        for (std::size_t at = folded.find(form); at != std::string::npos; at = folded.find(form))
            folded.erase(at, form.size());
    }
    return folded;
}

} // namespace fmb
