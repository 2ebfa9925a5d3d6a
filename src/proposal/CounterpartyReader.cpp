#include "proposal/CounterpartyReader.h"

#include "proposal/CompanyName.h"
#include "proposal/DocumentText.h"
#include "proposal/RegistrationNumber.h"

#include <algorithm>
#include <optional>

namespace fmb {
namespace {

constexpr int kRemembered = 300;
constexpr int kKnownInPlace = 200;
constexpr int kKnownWithOtherForm = 180; // the list's name with the legal form elsewhere
constexpr int kKnownElsewhere = 60;
constexpr int kNamed = 100;
constexpr int kNamedElsewhere = 10;
constexpr int kIssuerLabel = 30;
constexpr int kNearRegistration = 30;
constexpr int kEarly = 10;
constexpr std::size_t kEarlyLines = 12;
constexpr std::size_t kNearLines = 2;
constexpr std::size_t kShortestName = 6; // bytes: two Japanese characters

constexpr std::string_view kLegalForms[] = {
    "株式会社",     "有限会社",     "合同会社",     "合資会社",     "合名会社",
    "一般社団法人", "一般財団法人", "公益社団法人", "公益財団法人", "特定非営利活動法人",
    "NPO法人",      "医療法人",     "社会福祉法人", "学校法人",     "税理士法人",
    "弁護士法人",   "司法書士法人", "監査法人",     "協同組合",     "(株)",
    "(有)",         "(同)",         "(資)",         "(名)",         "(医)",
    "(社)",         "(財)",         "(福)",         "(学)",         "(税)",
};

constexpr std::string_view kIssuerLabels[] = {"発行元", "発行者",   "請求元", "販売元",
                                              "会社名", "事業者名", "事業者", "支払者"};

constexpr std::string_view kAddresseeMarks[] = {"御中", "様"};

// Characters that end a name besides blanks.
constexpr std::string_view kBreaks[] = {":", "、", "。", "「", "」", "【",  "】",
                                        "[", "]",  "|",  "<",  ">",  "・・"};

bool Contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

// The addressee mark that ends a word of the line (お客様番号 has none), or npos.
std::size_t AddresseeMarkAt(std::string_view line) {
    for (std::string_view mark : kAddresseeMarks) {
        for (std::size_t at = line.find(mark); at != std::string_view::npos;
             at = line.find(mark, at + 1)) {
            const std::size_t end = at + mark.size();
            const bool wordEnd = end == line.size() || line[end] == ' ' || line[end] == ')' ||
                                 line.substr(end, 3) == "、" || line.substr(end, 3) == "。";
            const bool customer = at >= 6 && line.substr(at - 6, 6) == "お客";
            if (wordEnd && !customer && at > 0)
                return at;
        }
    }
    return std::string_view::npos;
}

// Words of the text: split at blanks and at the characters that end a name.
std::vector<std::string> WordsOf(std::string_view text) {
    std::string spaced(text);
    for (std::string_view mark : kBreaks) {
        for (std::size_t at = spaced.find(mark); at != std::string::npos; at = spaced.find(mark))
            spaced.replace(at, mark.size(), " ");
    }
    std::vector<std::string> words;
    for (const std::string_view word : Words(spaced))
        words.emplace_back(word);
    return words;
}

std::optional<std::string_view> LegalFormIn(std::string_view word) {
    for (std::string_view form : kLegalForms) {
        if (Contains(word, form))
            return form;
    }
    return std::nullopt;
}

bool StartsAscii(const std::string& word) {
    return !word.empty() && IsAsciiAlnum(word.front());
}

bool EndsAscii(const std::string& word) {
    return !word.empty() && IsAsciiAlnum(word.back());
}

std::string WithoutLeadingLabel(std::string word) {
    for (std::string_view label : kIssuerLabels) {
        if (word.size() > label.size() && word.compare(0, label.size(), label) == 0)
            return word.substr(label.size());
    }
    return word;
}

// The names with a legal form in the text: the word holding the form, joined with the next
// word when the form stands alone (株式会社 国税商事) or the previous one at the end.
std::vector<std::string> NamesIn(std::string_view text) {
    const std::vector<std::string> words = WordsOf(text);
    std::vector<std::string> names;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const auto form = LegalFormIn(words[i]);
        if (!form)
            continue;
        std::string name = words[i];
        if (name == *form && i + 1 < words.size()) {
            // 株式会社 ABC Trading: the words of a Latin name go with it.
            name += words[++i];
            while (i + 1 < words.size() && EndsAscii(name) && StartsAscii(words[i + 1]))
                name += " " + words[++i];
        } else if (name == *form && i > 0) {
            std::size_t first = i - 1;
            while (first > 0 && StartsAscii(words[first]) && EndsAscii(words[first - 1]))
                --first;
            std::string before;
            for (std::size_t w = first; w < i; ++w)
                before += words[w] + " ";
            name.insert(0, before);
        }
        name = WithoutLeadingLabel(std::move(name));
        if (name != *form)
            names.push_back(name);
    }
    return names;
}

// The addressee's name: the words before 御中 or 様, from the last word with a legal form or,
// without one, the last word (a person's name may have a blank inside: 山田 太郎 様).
std::optional<std::string> AddresseeIn(std::string_view line) {
    const std::size_t mark = AddresseeMarkAt(line);
    if (mark == std::string_view::npos)
        return std::nullopt;
    std::vector<std::string> words = WordsOf(line.substr(0, mark));
    if (words.empty())
        return std::nullopt;
    const std::vector<std::string> named = NamesIn(line.substr(0, mark));
    if (!named.empty())
        return named.back();
    std::string name = words.back();
    if (words.size() >= 2 && words[words.size() - 2].size() <= 9 && name.size() <= 9)
        name.insert(0, words[words.size() - 2]); // family and given name of a person
    return name;
}

bool NearRegistration(const std::vector<std::string>& lines, std::size_t index) {
    const std::size_t first = index >= kNearLines ? index - kNearLines : 0;
    const std::size_t last = std::min(lines.size() - 1, index + kNearLines);
    for (std::size_t i = first; i <= last; ++i) {
        if (Contains(lines[i], "登録番号") || !ReadRegistrationNumbers({lines[i]}).empty())
            return true;
    }
    return false;
}

// Blanks between Japanese characters are layout, not part of the name.
std::string Tidy(const std::string& name) {
    std::string out;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (name[i] == ' ' && !(i > 0 && IsAsciiAlnum(name[i - 1]) && i + 1 < name.size() &&
                                IsAsciiAlnum(name[i + 1])))
            continue;
        out += name[i];
    }
    return out;
}

} // namespace

bool IsIssuedDocumentType(const std::string& typeName) {
    const std::string normalized = NormalizedText(typeName);
    const std::string_view mark = "(控)";
    return normalized.size() >= mark.size() &&
           normalized.compare(normalized.size() - mark.size(), mark.size(), mark) == 0;
}

std::vector<Candidate> ReadCounterparties(const std::vector<std::string>& lines,
                                          const CounterpartyContext& context) {
    std::vector<Candidate> found;
    for (const std::string& company : context.rememberedCompanies)
        found.push_back({company, kRemembered});

    struct Known {
        std::string folded;
        std::string withoutForm; // empty when too short to tell companies apart
        const std::string* asKept;
    };
    std::vector<Known> known;
    for (const std::string& company : context.knownCompanies) {
        if (company.empty())
            continue;
        std::string withoutForm = FoldedNameWithoutLegalForm(company);
        if (withoutForm.size() < kShortestName)
            withoutForm.clear();
        known.push_back({FoldedCompanyName(company), std::move(withoutForm), &company});
    }
    for (std::size_t index = 0; index < lines.size(); ++index) {
        const std::string& line = lines[index];
        const std::optional<std::string> addressee = AddresseeIn(line);
        // The part of the line where the counterparty stands.
        const bool inPlace = context.issuedDocument == addressee.has_value();
        const std::string folded = FoldedCompanyName(line);
        for (const Known& company : known) {
            const int longer = static_cast<int>(company.folded.size() / 3); // the longer name
            if (Contains(folded, company.folded))
                found.push_back(
                    {*company.asKept, (inPlace ? kKnownInPlace : kKnownElsewhere) + longer});
            else if (!company.withoutForm.empty() && Contains(folded, company.withoutForm))
                found.push_back(
                    {*company.asKept, (inPlace ? kKnownWithOtherForm : kKnownElsewhere) + longer});
        }
        if (context.issuedDocument) {
            if (addressee)
                found.push_back(
                    {Tidy(*addressee), kNamed + (LegalFormIn(*addressee) ? kNamedElsewhere : 0)});
            continue;
        }
        const std::size_t mark = AddresseeMarkAt(line);
        const std::string_view issuerPart = mark == std::string_view::npos
                                                ? std::string_view(line)
                                                : std::string_view(line).substr(mark);
        int bonus = index < kEarlyLines ? kEarly : 0;
        for (std::string_view label : kIssuerLabels) {
            if (Contains(line, label))
                bonus += kIssuerLabel;
        }
        if (NearRegistration(lines, index))
            bonus += kNearRegistration;
        for (const std::string& name : NamesIn(issuerPart))
            found.push_back({Tidy(name), kNamed + bonus});
        if (addressee)
            found.push_back({Tidy(*addressee), kNamedElsewhere});
    }
    return Ranked(std::move(found));
}

} // namespace fmb
