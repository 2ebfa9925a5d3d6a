#pragma once

#include <string_view>
#include <vector>

namespace fmb {

// The fields read back from a stored file name of the form
// [date][company][amount][extra amount]...remark.extension. The texts are views into the name
// that was read.
struct ParsedName {
    std::string_view date;
    std::string_view company;
    std::vector<std::string_view> amounts; // never empty; an amount may be empty text
    std::string_view remark;               // the extension dropped
};

// Reads a file name back into its fields, replacing what parsed held (its storage is reused).
// Never fails: a name of another form yields what the bracket rules find in it (typically an
// empty date).
void ParseFileName(std::string_view fileName, ParsedName& parsed);

// The next field of a name read by ParseFileName: the text between the first "[" and the first
// "]" of rest (empty when "]" is missing or comes before "["; without a "[" the field starts at
// the front). rest := what follows that "]", or rest as it was when it has none.
std::string_view TakeField(std::string_view& rest);

// fullPath without base at its front (exact comparison, letter case counts), as a view into
// fullPath; empty text when fullPath does not begin with base.
std::string_view MakeRelativePath(std::string_view fullPath, std::string_view base);

} // namespace fmb
