#include "proposal/CompanyName.h"

#include "proposal/DocumentText.h"

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
    std::string folded;
    for (const char c : NormalizedText(name)) {
        if (c == ' ' || c == '\t')
            continue;
        folded += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
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
