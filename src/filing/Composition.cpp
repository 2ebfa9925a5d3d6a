#include "filing/Composition.h"

#include "filing/AmountText.h"
#include "platform/DecimalText.h"
#include "platform/PathText.h"

namespace fmb {
namespace {

bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Byte offset of the character with the given index (counted from 0); the size of the text when
// it has fewer characters. Counting characters rather than bytes keeps a cut from ever landing
// inside a multi-byte character.
std::size_t CharOffset(std::string_view text, std::size_t index) {
    std::size_t pos = 0;
    for (std::size_t seen = 0; pos < text.size(); ++pos) {
        if (!IsContinuationByte(text[pos])) {
            if (seen == index) {
                return pos;
            }
            ++seen;
        }
    }
    return text.size();
}

// Characters first .. first+count-1 of the text; missing characters are left out.
std::string_view Chars(std::string_view text, std::size_t first, std::size_t count) {
    const std::size_t begin = CharOffset(text, first);
    const std::size_t end = begin + CharOffset(text.substr(begin), count);
    return text.substr(begin, end - begin);
}

} // namespace

// A name without an extension gets the same placeholder as a missing source, so a stored name
// always ends in ".extension" and its remark reads back whole.
std::string ExtensionOf(std::string_view sourcePath) {
    static constexpr std::string_view kNoExtension = "NNN";
    const std::string name = LastComponent(sourcePath);
    const auto dot = name.rfind('.');
    if (dot == std::string::npos || dot + 1 == name.size()) {
        return std::string(kNoExtension);
    }
    return name.substr(dot + 1);
}

std::string DateWithUnderscores(std::string_view date) {
    std::string result(Chars(date, 0, 4));
    result += '_';
    result += Chars(date, 4, 2);
    result += '_';
    result += Chars(date, 6, 2);
    return result;
}

int FiscalYearOf(int year, int month, int endMonth) {
    if (endMonth == 12 || month > endMonth) {
        return year;
    }
    return year - 1;
}

std::string FiscalYearText(std::string_view date, int endMonth) {
    const int year = ReadLeadingInt(Chars(date, 0, 4));
    const int month = ReadLeadingInt(Chars(date, 4, 2));
    return std::to_string(FiscalYearOf(year, month, endMonth));
}

std::vector<std::string> FolderLevels(const FilingEntry& entry, const CFMBData& settings) {
    std::vector<std::string> levels;
    if (const int fiscalYear = ReadLeadingInt(FiscalYearText(entry.date, settings.NEND_END_M));
        fiscalYear > 0) {
        levels.push_back(std::to_string(fiscalYear) + "年度");
    }
    if (!entry.typeName.empty()) {
        levels.push_back(entry.typeName);
    }
    if (settings.DIR_COMPANY_SEPA_FLG == 1 && !entry.company.empty()) {
        levels.push_back(entry.company);
    }
    if (settings.DIR_MM_SEPA_FLG == 1 && !entry.date.empty()) {
        levels.push_back(std::string(Chars(entry.date, 0, 4)) + "年" +
                         std::string(Chars(entry.date, 4, 2)) + "月");
    }
    return levels;
}

Destination ComposeDestination(const FilingEntry& entry, const CFMBData& settings) {
    const int fiscalYear = ReadLeadingInt(FiscalYearText(entry.date, settings.NEND_END_M));

    std::string dateField = entry.date;
    if (settings.HIDUKE_UB_FLG == 1) {
        dateField = DateWithUnderscores(entry.date);
    }
    if (settings.KUGIRI_BER_FLG == 1) {
        dateField = entry.date;
    }

    const std::string amount =
        settings.KINGAKU_KANMA_FLG == 1 ? FormatThousands(entry.amount) : entry.amount;

    Destination result;
    result.folder = WithTrailingSeparator(settings.COPY_SAKI_DIR);
    for (const std::string& level : FolderLevels(entry, settings)) {
        result.folder += level + kPathSeparator;
    }
    result.hasFiscalYear = fiscalYear > 0;

    std::string extra;
    if (settings.KINGAKU_KANMA_FLG == 0) {
        extra = entry.extraPlain;
    } else if (settings.KINGAKU_KANMA_FLG == 1) {
        extra = entry.extraComma;
    }

    std::string remark = entry.remark;
    if (settings.BIKOU_SYUBETSU_FLG == 1 && !entry.typeName.empty()) {
        remark = "＜" + entry.typeName + "＞" + remark;
    }

    const std::string extension = ExtensionOf(entry.sourcePath);
    if (settings.KUGIRI_BER_FLG == 0) {
        result.fileName = "[" + dateField + "][" + entry.company + "][" + amount + "]" + extra +
                          remark + "." + extension;
    } else {
        result.fileName =
            dateField + "_" + entry.company + "_" + amount + extra + remark + "." + extension;
    }
    return result;
}

} // namespace fmb
