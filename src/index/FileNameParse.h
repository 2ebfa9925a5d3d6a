#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace fmb {

// The fields read back from a stored file name of the form
// [date][company][amount][extra amount]...remark.extension.
struct ParsedName {
    std::string date;
    std::string company;
    std::vector<std::string> amounts; // never empty; an amount may be empty text
    std::string remark;               // the extension dropped
};

// Reads a file name back into its fields. Never fails: a name of another form yields what the
// bracket rules find in it (typically an empty date).
ParsedName ParseFileName(std::string_view fileName);

// fullPath without base at its front (exact comparison, letter case counts); empty text when
// fullPath does not begin with base.
std::string MakeRelativePath(std::string_view fullPath, std::string_view base);

} // namespace fmb
