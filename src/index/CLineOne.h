#pragma once

#include <string>
#include <string_view>

namespace fmb {

// One row of the index book: one amount of one stored file. The texts other than the amount
// are views into the scanned entry the row was built from, and are valid as long as it is.
struct CLineOne {
    std::string_view type;    // the type folder the file lies in
    std::string_view date;    // the date as written in the name (8 digits, or with underscores)
    std::string_view company; // the company as written in the name
    std::string amount;       // one amount of the name, its thousands separators removed
    std::string_view remark;  // the remark, with its type prefix (＜type＞) when the name has one
    std::string_view path;    // the file's full path, or its path relative to the link base
};

} // namespace fmb
