#include "settings/CFMBData.h"

#include "platform/DecimalText.h"
#include "platform/IniFile.h"
#include "platform/PathText.h"

#include <system_error>

namespace fmb {
namespace {

constexpr const char* kSection = "SETTING";
// 処理担当者, written after the keys the program has always had.
constexpr const char* kPersonKey = "SYORI_TANTOUSYA";

struct NumericKey {
    const char* name;
    int CFMBData::*field;
};

// The numeric keys in the order they are written after COPY_SAKI_DIR.
constexpr NumericKey kNumericKeys[] = {
    {"NEND_END_M", &CFMBData::NEND_END_M},
    {"KINGAKU_KANMA_FLG", &CFMBData::KINGAKU_KANMA_FLG},
    {"HIDUKE_UB_FLG", &CFMBData::HIDUKE_UB_FLG},
    {"DIR_MM_SEPA_FLG", &CFMBData::DIR_MM_SEPA_FLG},
    {"DIR_COMPANY_SEPA_FLG", &CFMBData::DIR_COMPANY_SEPA_FLG},
    {"BIKOU_SYUBETSU_FLG", &CFMBData::BIKOU_SYUBETSU_FLG},
    {"KUGIRI_BER_FLG", &CFMBData::KUGIRI_BER_FLG},
};

} // namespace

CFMBData::CFMBData(std::string settingsFolder) : m_settingsFolder(std::move(settingsFolder)) {}

std::string CFMBData::IniPath() const {
    return WithTrailingSeparator(m_settingsFolder) + "FMB_Setting.ini";
}

int CFMBData::ReadIni() {
    m_endMonthReplaced = false;
    const std::filesystem::path path = ToFsPath(IniPath());
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        // First start: the values a new user begins with.
        COPY_SAKI_DIR.clear();
        NEND_END_M = kDefaultEndMonth;
        KINGAKU_KANMA_FLG = 1;
        HIDUKE_UB_FLG = 1;
        DIR_MM_SEPA_FLG = 1;
        DIR_COMPANY_SEPA_FLG = 0;
        BIKOU_SYUBETSU_FLG = 0;
        KUGIRI_BER_FLG = 0;
        SYORI_TANTOUSYA.clear();
        return -1;
    }
    const IniFile ini(path);
    COPY_SAKI_DIR = ini.Get(kSection, "COPY_SAKI_DIR");
    SYORI_TANTOUSYA = ini.Get(kSection, kPersonKey);
    for (const NumericKey& key : kNumericKeys) {
        this->*key.field = ReadLeadingInt(ini.Get(kSection, key.name));
    }
    if (NEND_END_M < 1 || NEND_END_M > 12) {
        NEND_END_M = kDefaultEndMonth;
        m_endMonthReplaced = true;
    }
    return 0;
}

SaveResult CFMBData::WriteIni() {
    IniFile ini(ToFsPath(IniPath()));
    if (!ini.Set(kSection, "COPY_SAKI_DIR", COPY_SAKI_DIR)) {
        return SaveResult::UnrepresentableText;
    }
    for (const NumericKey& key : kNumericKeys) {
        ini.Set(kSection, key.name, std::to_string(this->*key.field));
    }
    // A file whose user never named a person stays as it was.
    if ((!SYORI_TANTOUSYA.empty() || !ini.Get(kSection, kPersonKey).empty()) &&
        !ini.Set(kSection, kPersonKey, SYORI_TANTOUSYA)) {
        return SaveResult::UnrepresentableText;
    }
    return ini.Save() ? SaveResult::Saved : SaveResult::WriteFailed;
}

} // namespace fmb
