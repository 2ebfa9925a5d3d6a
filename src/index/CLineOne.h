#pragma once

#include <string>

namespace fmb {

// One row of the index book: one amount of one stored file.
struct CLineOne {
    std::string type;    // the type folder the file lies in
    std::string date;    // the date as written in the name (8 digits, or with underscores)
    std::string company; // the company as written in the name
    std::string amount;  // one amount of the name, its thousands separators removed
    std::string remark;  // the remark, with its type prefix (＜type＞) when the name has one
    std::string path;    // the file's full path, or its path relative to the link base
};

} // namespace fmb
