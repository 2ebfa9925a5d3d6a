#include "settings/SettingRules.h"

#include "filing/Composition.h"
#include "platform/PathText.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace fmb {
namespace {

const char* const kExampleType = "請求書(控)";
const char* const kExampleCompany = "(株)〇〇商事";

} // namespace

SettingExample MakeSettingExample(const CFMBData& choices, int year) {
    char yearText[16];
    std::snprintf(yearText, sizeof yearText, "%04d", year);
    const std::string yyyy = yearText;
    const bool underscores = choices.KUGIRI_BER_FLG == 1;
    const bool commas = choices.KINGAKU_KANMA_FLG == 1;

    std::string date;
    std::string company;
    std::string amount = commas ? "500,000" : "500000";
    if (underscores) {
        date = yyyy + "1231_";
        company = std::string(kExampleCompany) + "_";
    } else {
        date = "[" + yyyy + (choices.HIDUKE_UB_FLG == 1 ? "_12_31]" : "1231]");
        company = "[" + std::string(kExampleCompany) + "]";
        amount = "[" + amount + "]";
    }
    const std::string remark =
        choices.BIKOU_SYUBETSU_FLG == 1 ? "＜" + std::string(kExampleType) + "＞" : "";

    SettingExample example;
    example.fileName = "例 : " + date + company + amount + remark + ".pdf";
    if (choices.COPY_SAKI_DIR.empty())
        return example;
    example.folders = {choices.COPY_SAKI_DIR,
                       FiscalYearText(yyyy + "1231", choices.NEND_END_M) + "年度", kExampleType};
    if (choices.DIR_COMPANY_SEPA_FLG == 1)
        example.folders.push_back(kExampleCompany);
    if (choices.DIR_MM_SEPA_FLG == 1)
        example.folders.push_back(yyyy + "年12月");
    return example;
}

std::optional<SettingRefusal> ValidateSettings(const CFMBData& settings) {
    const std::string& root = settings.COPY_SAKI_DIR;
    // Documents are filed into folders below the root, so a file of that name will not do.
    std::error_code error;
    if (!root.empty() && !std::filesystem::is_directory(ToFsPath(root), error)) {
        return SettingRefusal{std::nullopt, "保存先フォルダが存在しません\n"
                                            "存在する保存先フォルダを指定してください。"};
    }
    if (root.empty()) {
        return SettingRefusal{SettingField::Root, "「保存先フォルダ」が未選択です。「参照」ボタン"
                                                  "を押して、選択してください。"};
    }
    if (settings.NEND_END_M < 1 || settings.NEND_END_M > 12) {
        return SettingRefusal{SettingField::Month,
                              "「年度末(月)」は1～12を半角数字で入力してください。"};
    }
    return std::nullopt;
}

int CompleteTypes(CFMBSyameiData& types) {
    if (types.TypeCount() == 0) {
        types.SetDefaultTypes();
        types.ExtendTypes();
        return types.WriteIni();
    }
    if (types.TypeCount() == 12) {
        types.ExtendTypes();
        return types.WriteIni();
    }
    return 0;
}

} // namespace fmb
