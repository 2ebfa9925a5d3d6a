#pragma once

#include "settings/CFMBData.h"

#include <string>
#include <string_view>
#include <vector>

namespace fmb {

// One document as the filing window holds it.
struct FilingEntry {
    std::string sourcePath;
    std::string typeName;
    std::string date; // meant to be YYYYMMDD
    std::string company;
    std::string amount;     // first amount, digits without separators
    std::string extraPlain; // amounts 2 to 6, each in brackets, without separators
    std::string extraComma; // the same with thousands separators
    std::string remark;
};

// Where and under which name an entry is filed.
struct Destination {
    std::string folder; // ends with the path separator unless empty
    std::string fileName;
    bool hasFiscalYear = false; // the fiscal year was greater than 0 (a year folder is included)
};

// YYYYMMDD to YYYY_MM_DD; missing characters give empty parts ("" gives "__").
std::string DateWithUnderscores(std::string_view date);
// A fiscal year is named after the calendar year in which it begins; the end month belongs to the
// year that ends in it.
int FiscalYearOf(int year, int month, int endMonth);
std::string FiscalYearText(std::string_view date, int endMonth);

// The extension under which a source file is stored: the text after the last "." of the file's
// own name, or "NNN" for a name without one (or ending in it), as for a missing source.
std::string ExtensionOf(std::string_view sourcePath);

// The folders between the storage root and the document, top down: fiscal year (when greater than
// 0), type, company (when kept in folders of their own), month (when kept in folders of their own).
std::vector<std::string> FolderLevels(const FilingEntry& entry, const CFMBData& settings);

// The destination folder and file name of an entry under the given settings. Never fails.
Destination ComposeDestination(const FilingEntry& entry, const CFMBData& settings);

} // namespace fmb
