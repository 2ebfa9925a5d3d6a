#pragma once

#include "platform/ExeFolder.h"
#include "settings/SaveResult.h"

#include <string>

namespace fmb {

// The user's settings, stored in FMB_Setting.ini (section SETTING) in the settings folder. Each
// owner reads its own copy; only the settings dialog writes it back.
class CFMBData {
public:
    // The end month of a first start, and of a file whose month lies outside 1 to 12.
    static constexpr int kDefaultEndMonth = 3;

    explicit CFMBData(std::string settingsFolder = GetExeFolder());
    virtual ~CFMBData() = default;
    CFMBData(const CFMBData&) = delete;
    CFMBData& operator=(const CFMBData&) = delete;

    // 0 when the file exists and was read; -1 when it is absent (the record then holds the
    // values of a first start and nothing is written). An end month outside 1 to 12 (a missing
    // key or a hand-edited file) is read as kDefaultEndMonth: any other month would put documents
    // under the wrong fiscal year.
    int ReadIni();
    // True when the last ReadIni found an end month outside 1 to 12 and read it as
    // kDefaultEndMonth.
    bool EndMonthWasReplaced() const { return m_endMonthReplaced; }
    // Saved when all the keys were written (SYORI_TANTOUSYA only once it was set); otherwise the
    // file stays as it was.
    SaveResult WriteIni();

    std::string IniPath() const;

    std::string COPY_SAKI_DIR;    // storage root; empty: not set up
    int NEND_END_M = 3;           // month in which the fiscal year ends (kDefaultEndMonth)
    int KINGAKU_KANMA_FLG = 0;    // amounts in the file name carry thousands separators
    int HIDUKE_UB_FLG = 0;        // the date in the file name reads YYYY_MM_DD
    int DIR_MM_SEPA_FLG = 0;      // a month folder below the type (and company) folder
    int DIR_COMPANY_SEPA_FLG = 0; // a company folder below the type folder
    int BIKOU_SYUBETSU_FLG = 0;   // the type name in front of the remark
    int KUGIRI_BER_FLG = 0;       // fields joined with "_" instead of enclosed in brackets
    std::string SYORI_TANTOUSYA;  // 処理担当者: the person the ledger names; empty: not set

private:
    std::string m_settingsFolder;
    bool m_endMonthReplaced = false;
};

} // namespace fmb
