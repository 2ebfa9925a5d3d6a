#pragma once

#include "index/CLineOne.h"
#include "index/FileNameParse.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace fmb {

// One file found by the storage scan.
struct ScanEntry {
    std::string typeFolder; // first folder below the scanned folder; empty for a file lying in it
    std::string fileName;   // the name alone
    std::string fullPath;   // the scanned folder as given, the folders below it and the name
};

// rows := the rows of one scanned file: one per amount of its name, in the name's order, or
// none when the name yields no date. linkBase empty gives the full path; otherwise the path is
// made relative to it. parsed receives the fields of the name; the storage of both is reused
// from call to call.
void BuildRows(const ScanEntry& entry, std::string_view linkBase, ParsedName& parsed,
               std::vector<CLineOne>& rows);

// The cells of a row's line that all rows of one file share, before quoting: the type (A), the
// date without "_" (B), the company (C), the remark split into its type prefix (＜type＞ at its
// start, E) and the rest (F), and the path (G). Cell D is the row's amount as it stands (its
// commas were removed when the row was built); H, the formula, is made from the line's number.
// Apart from the date, the cells are views into the row.
struct IndexBookCells {
    std::string_view type;
    std::string date;
    std::string_view company, typePrefix, remark, path;
};
void MakeCells(const CLineOne& row, IndexBookCells& cells);

// The header line of the index book (UTF-8, without its line feed).
std::string IndexBookHeader();

// True when a spreadsheet would take a cell beginning so for a formula to compute: "=", "+",
// "-", "@", a tab or a carriage return. A name such as =cmd|' /C calc'!A0 would run a program.
bool StartsAsFormula(std::string_view cell);

// Appends a cell as the CSV holds it: between double quotes, with its quotes doubled, when it
// holds a comma, a double quote or a line break (or always, for the path cell), so that such a
// cell never spills into the next column; as it stands otherwise. A cell that starts as a
// formula gets a leading "'", so that the spreadsheet shows it as text. The cell may be UTF-8
// or CP932: none of these characters can be the second byte of a CP932 character.
void AppendWrittenCell(std::string& out, std::string_view cell, bool alwaysQuoted);

// Appends the amount cell: a number (digits after an optional sign, with at most one decimal
// point) as it stands, so that the spreadsheet can add the column up; anything else as any
// other cell.
void AppendAmountCell(std::string& out, std::string_view amount);

// Appends text with each double quote doubled: the inside of a quoted cell.
void AppendQuotesDoubled(std::string& out, std::string_view text);

// Appends the line made of the written cells A to G, without its line feed; lineNumber is the
// line's own number in the file, which its hyperlink formula refers to (2 for the first row).
void AppendIndexBookLine(std::string& out, const std::array<std::string_view, 7>& writtenCells,
                         std::size_t lineNumber);

} // namespace fmb
