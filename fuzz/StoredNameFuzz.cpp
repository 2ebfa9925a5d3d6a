// The search's reading of stored names and its folding on arbitrary bytes: neither crashes or
// hangs; a name read as stored has a real date, amounts that are numbers, fields that lie in
// the name and a head that agrees with them; folding a folded text changes nothing.
#include "FuzzCheck.h"

#include "platform/SearchFold.h"
#include "search/StoredName.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

bool Inside(std::string_view part, std::string_view whole) {
    return part.empty() || (part.data() >= whole.data() &&
                            part.data() + part.size() <= whole.data() + whole.size());
}

void CheckRead(std::string_view name, fmb::NameForm form) {
    fmb::StoredName stored;
    if (!fmb::ReadStoredName(name, form, stored)) {
        return;
    }
    FUZZ_CHECK(stored.date >= 10101 && stored.date <= 99991231);
    FUZZ_CHECK(!stored.amounts.empty());
    for (const std::string_view amount : stored.amounts) {
        long long value = 0;
        FUZZ_CHECK(fmb::AmountValue(amount, value));
        FUZZ_CHECK(Inside(amount, name));
    }
    FUZZ_CHECK(Inside(stored.dateText, name) && Inside(stored.company, name));
    FUZZ_CHECK(Inside(stored.typePrefix, name) && Inside(stored.remark, name));
    // A search passes over a name on its head alone: the head must agree with the whole.
    const fmb::NameHead head = fmb::ReadNameHead(name);
    FUZZ_CHECK(head.date == stored.date);
    FUZZ_CHECK(!head.company || *head.company == stored.company);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view name(reinterpret_cast<const char*>(data), size);
    CheckRead(name, fmb::NameForm::Bracketed);
    CheckRead(name, fmb::NameForm::Underscore);
    const std::string folded = fmb::FoldForSearch(name);
    FUZZ_CHECK(fmb::FoldForSearch(folded) == folded);
    return 0;
}
