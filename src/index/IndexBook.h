#pragma once

#include "index/CLineOne.h"

#include <cstddef>
#include <string>
#include <vector>

namespace fmb {

// One file found by the storage scan.
struct ScanEntry {
    std::string typeFolder; // first folder below the scanned folder; empty for a file lying in it
    std::string fileName;   // the name alone
    std::string fullPath;   // the scanned folder as given, the folders below it and the name
};

// The rows of the index book: one per amount of every entry whose name yields a date, in the
// entries' order. The entries are consumed (their texts move into the rows). linkBase empty
// gives full paths; otherwise each path is made relative to it.
std::vector<CLineOne> BuildRows(std::vector<ScanEntry> entries, const std::string& linkBase);

// The header line of the index book (UTF-8, without its line feed).
std::string IndexBookHeader();

// The line of a row (UTF-8, without its line feed); lineNumber is the line's own number in the
// file, which its hyperlink formula refers to (2 for the first row). The path cell is always
// quoted; another cell is quoted only when it holds a comma, a double quote or a line break, so
// that such a cell never spills into the next column.
std::string IndexBookLine(const CLineOne& row, std::size_t lineNumber);

} // namespace fmb
