#include "res/DialogTemplates.h"

#include "res/ControlIds.h"

#include <array>
#include <cstdlib>

// The tables list the controls in creation order with x, y, width, height in dialog units.
// Controls are named by their ids (res/ControlIds.h); those without one carry -1, -2, ... in table
// order.

namespace fmb {
namespace {

using K = ControlKind;
using namespace ids;

const char* const kShellDlg = "MS Shell Dlg";

// The tables keep one control per line, so they read like the resource script they stand for.
// clang-format off

// ---- 102: the filing window -------------------------------------------------------------------

constexpr ControlTemplate kFilingControls[] = {
    {-1, K::Bitmap, "", {0, 0, 179, 30}, kPlain, kBannerBitmapResource},
    {-2, K::Static, "元ファイル", {8, 35, 27, 8}},
    {filing::kSourceField, K::Edit, "", {39, 33, 101, 14}},
    {filing::kBrowseButton, K::Button, "参照", {141, 33, 22, 14}},
    {filing::kOpenSourceButton, K::Button, "開く  （確認）", {10, 49, 153, 17}},
    {-3, K::GroupBox, "コピー元ファイルをここに", {169, 2, 77, 71}},
    {-4, K::Static, "↓↓↓", {118, 69, 22, 8}},
    // Type buttons, column by column: 1 top left, 2 below it, 3 top of column 2, ...
    // They start below the frame's caption, whose line is taller than 8 units in a CJK font.
    {-5, K::GroupBox, "種類（コピー先フォルダ）", {4, 75, 242, 44}},
    {filing::kPageBackButton, K::Button, "<", {6, 89, 7, 28}},
    {filing::kTypeButton1, K::CheckBox, "Check1", {13, 89, 37, 13}, kPushLike},
    {filing::kTypeButton2, K::CheckBox, "Check1", {13, 104, 37, 13}, kPushLike},
    {filing::kTypeButton3, K::CheckBox, "Check1", {51, 89, 37, 13}, kPushLike},
    {filing::kTypeButton4, K::CheckBox, "Check1", {51, 104, 37, 13}, kPushLike},
    {filing::kTypeButton5, K::CheckBox, "Check1", {88, 89, 37, 13}, kPushLike},
    {filing::kTypeButton6, K::CheckBox, "Check1", {88, 104, 37, 13}, kPushLike},
    {filing::kTypeButton7, K::CheckBox, "Check1", {125, 89, 37, 13}, kPushLike},
    {filing::kTypeButton8, K::CheckBox, "Check1", {125, 104, 37, 13}, kPushLike},
    {filing::kTypeButton9, K::CheckBox, "Check1", {163, 89, 37, 13}, kPushLike},
    {filing::kTypeButton10, K::CheckBox, "Check1", {163, 104, 37, 13}, kPushLike},
    {filing::kTypeButton11, K::CheckBox, "Check1", {200, 89, 37, 13}, kPushLike},
    {filing::kTypeButton12, K::CheckBox, "Check1", {200, 104, 37, 13}, kPushLike},
    {filing::kPageForwardButton, K::Button, ">", {237, 89, 7, 28}},
    {-6, K::GroupBox, "ファイル内容（コピー先ファイル名）", {4, 124, 242, 175}},
    {-7, K::Static, "【年月日】", {10, 139, 28, 8}},
    {filing::kDateField, K::Edit, "", {9, 152, 82, 14}},
    {filing::kCalendar, K::MonthCalendar, "", {8, 170, 84, 90}, kNoTodayCircle | kNoToday},
    {filing::kLastMonthEndButton, K::Button, "先月末", {8, 262, 35, 14}},
    {filing::kTodayButton, K::Button, "本日", {44, 262, 19, 14}},
    {filing::kThisMonthEndButton, K::Button, "今月末", {63, 262, 33, 14}},
    {-8, K::Static, "【会社名】", {100, 140, 28, 8}},
    {filing::kTypeNameField, K::Edit, "", {129, 138, 45, 12}, kReadOnly},
    {filing::kCompanyField, K::Edit, "", {99, 152, 76, 14}},
    {filing::kCompanyList, K::ListBox, "", {98, 170, 76, 86}, kSorted | kNotify | kVScroll},
    {filing::kEditCompaniesButton, K::Button, "編集", {134, 262, 40, 14}},
    {-9, K::Static, "【金額】", {181, 140, 22, 8}},
    {filing::kMultipleAmountsButton, K::Button, "複数", {209, 134, 32, 14}},
    {filing::kAmountField, K::Edit, "", {180, 152, 60, 14}, kRightAligned},
    {filing::kGroupedAmount, K::Edit, "", {180, 170, 60, 14}, kRightAligned | kDisabled},
    // Keypad: columns at x 180, 200, 220; rows at y 184, 206, 228, 250.
    {keypad::k7, K::Button, "7", {180, 184, 20, 21}},
    {keypad::k8, K::Button, "8", {200, 184, 20, 21}},
    {keypad::k9, K::Button, "9", {220, 184, 20, 21}},
    {keypad::k4, K::Button, "4", {180, 206, 20, 21}},
    {keypad::k5, K::Button, "5", {200, 206, 20, 21}},
    {keypad::k6, K::Button, "6", {220, 206, 20, 21}},
    {keypad::k1, K::Button, "1", {180, 228, 20, 21}},
    {keypad::k2, K::Button, "2", {200, 228, 20, 21}},
    {keypad::k3, K::Button, "3", {220, 228, 20, 21}},
    {keypad::k0, K::Button, "0", {180, 250, 20, 21}},
    {keypad::k00, K::Button, "00", {200, 250, 20, 21}},
    {keypad::kClear, K::Button, "クリア", {220, 250, 20, 21}},
    {-10, K::Static, "【備考】→", {8, 283, 28, 8}},
    {filing::kRemarkField, K::Edit, "", {38, 280, 203, 14}},
    {-11, K::Static, "↓↓↓", {118, 302, 22, 8}},
    {-12, K::Static, "コピー先", {7, 303, 23, 8}},
    {-13, K::Static, "フォルダ名", {12, 315, 28, 8}},
    {filing::kFolderField, K::Edit, "", {42, 313, 205, 14}, kDisabled},
    {-14, K::Static, "ファイル", {13, 332, 20, 8}},
    {filing::kFileNameField, K::Edit, "", {42, 330, 205, 14}},
    // Execute is a little shorter and the bottom row a little higher than in the first layout, so
    // that the window with its title bar fits a 768-pixel screen at 125 %; the bottom row keeps
    // the margin of the controls above, so no button touches an edge.
    {filing::kExecuteButton, K::Button, "実行（コピーして保存）", {4, 348, 242, 18}},
    {-15, K::EtchedLine, "", {0, 368, 250, 2}}, // the pair of etched lines
    {filing::kMenuButton, K::Button, "メニュー", {4, 371, 38, 14}},
    {filing::kStorageFolderButton, K::Button, "保存先フォルダ確認", {45, 371, 83, 14}},
    {filing::kSearchButton, K::Button, "検索", {131, 371, 58, 14}},
    {filing::kExitButton, K::Button, "終了", {192, 371, 54, 14}},
};

constexpr int kFilingTabOrder[] = {
    filing::kSourceField, filing::kBrowseButton, filing::kOpenSourceButton,
    filing::kTypeButton1, filing::kTypeButton2, filing::kTypeButton3, filing::kTypeButton4,
    filing::kTypeButton5, filing::kTypeButton6, filing::kTypeButton7, filing::kTypeButton8,
    filing::kTypeButton9, filing::kTypeButton10, filing::kTypeButton11, filing::kTypeButton12,
    filing::kDateField, filing::kCalendar,
    filing::kLastMonthEndButton, filing::kTodayButton, filing::kThisMonthEndButton,
    filing::kTypeNameField, filing::kCompanyField, filing::kCompanyList, filing::kEditCompaniesButton,
    filing::kMultipleAmountsButton, filing::kAmountField, filing::kGroupedAmount,
    keypad::k7, keypad::k8, keypad::k9, keypad::k4, keypad::k5, keypad::k6,
    keypad::k1, keypad::k2, keypad::k3, keypad::k0, keypad::k00, keypad::kClear,
    filing::kRemarkField, filing::kFolderField, filing::kFileNameField, filing::kExecuteButton,
    filing::kMenuButton, filing::kStorageFolderButton, filing::kSearchButton, filing::kExitButton,
    filing::kPageBackButton, filing::kPageForwardButton,
};

// ---- 130: settings (設定) -----------------------------------------------------------------------

constexpr ControlTemplate kSettingControls[] = {
    {setting::kRootField, K::Edit, "", {63, 37, 224, 14}},
    {setting::kBrowseButton, K::Button, "参照", {290, 37, 50, 14}},
    {setting::kEndMonthField, K::Edit, "", {63, 93, 40, 14}},
    {setting::kCompanyFoldersBox, K::CheckBox, "出力フォルダ「会社名」別", {16, 116, 95, 8}},
    {setting::kMonthFoldersBox, K::CheckBox, "出力フォルダ「月」別", {16, 125, 79, 10}},
    {setting::kAmountCommasBox, K::CheckBox, "出力ファイル名 金額「,」あり", {16, 174, 103, 10}},
    {setting::kDateUnderscoresBox, K::CheckBox, "出力ファイル名 日付「_」あり", {16, 184, 105, 10}},
    {kOk, K::Button, "終了(保存)", {237, 219, 50, 14}, kDefaultButton},
    {kCancel, K::Button, "キャンセル", {290, 219, 50, 14}},
    {-1, K::Static, "保存先フォルダ", {7, 40, 48, 8}},
    {setting::kEditTypeButton, K::Button, "編集", {254, 92, 20, 14}, kHidden},
    {setting::kTypeList, K::ListBox, "", {236, 94, 12, 9}, kHidden},
    {-2, K::Static, "種類", {216, 94, 17, 8}, kHidden},
    {-3, K::Static, "年度末(月)", {7, 96, 38, 8}},
    {-4, K::Static, "指定したフォルダの下に「xxxx年度」フォルダが作成され、", {77, 53, 263, 8}},
    {-5, K::Static, "その年度フォルダ内に読取専用ファイルとしてコピーされます", {77, 63, 263, 8}},
    {-6, K::Bitmap, "", {0, 0, 209, 28}, kPlain, kBannerBitmapResource},
    {-7, K::Static, "Ver 1.2.0", {309, 7, 31, 8}},
    {setting::kExampleTree, K::Tree, "", {123, 112, 217, 62}, kDisabled | kHasLines},
    {setting::kExampleName, K::Static, "", {123, 181, 217, 8}},
    {-8, K::Static, "フォルダ構成　例↓", {123, 102, 57, 8}},
    {setting::kTypeInRemarkBox, K::CheckBox, "出力ファイル名 備考に種類名", {16, 194, 111, 11}},
    {setting::kUnderscoreFormBox, K::CheckBox, "ファイル名区切り文字「_」(非推奨)", {216, 75, 124, 12}, kPushLike},
    // The person the filing ledger names for filings, corrections and deletions.
    {-9, K::Static, "処理担当者", {7, 211, 48, 8}},
    {setting::kPersonField, K::Edit, "", {63, 208, 100, 14}},
};

// ---- 132: company names (社名変更) ----------------------------------------------------------------

constexpr ControlTemplate kSyainEditControls[] = {
    {syainEdit::kTypeNameField, K::Edit, "", {44, 6, 170, 14}},
    {syainEdit::kCompanyList, K::ListBox, "", {4, 26, 210, 105}, kSorted | kNotify | kVScroll},
    {syainEdit::kEntryField, K::Edit, "", {9, 161, 143, 14}},
    {syainEdit::kMarkFrontButton, K::Button, "前(株)", {9, 176, 27, 14}},
    {syainEdit::kMarkBackButton, K::Button, "後(株)", {40, 176, 27, 14}},
    {syainEdit::kClearButton, K::Button, "クリア", {111, 176, 41, 14}},
    {syainEdit::kDeleteButton, K::Button, "削除", {156, 138, 50, 14}},
    {syainEdit::kReplaceButton, K::Button, "修正", {156, 154, 50, 14}},
    {syainEdit::kAddButton, K::Button, "追加", {156, 168, 50, 14}},
    {kOk, K::Button, "終了(保存)", {149, 194, 68, 17}, kDefaultButton},
    {-1, K::Static, "種類名", {10, 10, 25, 8}},
    {-2, K::GroupBox, "", {4, 131, 210, 61}},
};

// ---- 135: multiple amounts ----------------------------------------------------------------------

constexpr ControlTemplate kKingakuControls[] = {
    // Amount edits 1 to 6.
    {kingaku::kAmount1, K::Edit, "", {110, 52, 87, 14}, kRightAligned},
    {kingaku::kAmount2, K::Edit, "", {110, 68, 87, 14}, kRightAligned},
    {kingaku::kAmount3, K::Edit, "", {110, 84, 87, 15}, kRightAligned},
    {kingaku::kAmount4, K::Edit, "", {110, 101, 87, 16}, kRightAligned},
    {kingaku::kAmount5, K::Edit, "", {110, 119, 87, 14}, kRightAligned},
    {kingaku::kAmount6, K::Edit, "", {110, 134, 87, 14}, kRightAligned},
    // Formatted views 1 to 6.
    {kingaku::kView1, K::Edit, "", {19, 52, 87, 14}, kReadOnly | kRightAligned},
    {kingaku::kView2, K::Edit, "", {19, 68, 87, 14}, kReadOnly | kRightAligned},
    {kingaku::kView3, K::Edit, "", {19, 84, 87, 15}, kReadOnly | kRightAligned},
    {kingaku::kView4, K::Edit, "", {19, 101, 87, 16}, kReadOnly | kRightAligned},
    {kingaku::kView5, K::Edit, "", {19, 119, 87, 14}, kReadOnly | kRightAligned},
    {kingaku::kView6, K::Edit, "", {19, 134, 87, 14}, kReadOnly | kRightAligned},
    // Target markers beside amount edits 1 to 6.
    {kingaku::kMarker1, K::Static, "←", {202, 54, 8, 8}},
    {kingaku::kMarker2, K::Static, "←", {202, 70, 8, 8}},
    {kingaku::kMarker3, K::Static, "←", {202, 87, 8, 8}},
    {kingaku::kMarker4, K::Static, "←", {202, 104, 8, 8}},
    {kingaku::kMarker5, K::Static, "←", {202, 121, 8, 8}},
    {kingaku::kMarker6, K::Static, "←", {202, 136, 8, 8}},
    // Keypad.
    {keypad::k7, K::Button, "7", {232, 68, 23, 20}},
    {keypad::k8, K::Button, "8", {255, 68, 23, 20}},
    {keypad::k9, K::Button, "9", {279, 68, 23, 20}},
    {keypad::k4, K::Button, "4", {232, 89, 23, 20}},
    {keypad::k5, K::Button, "5", {255, 89, 23, 20}},
    {keypad::k6, K::Button, "6", {279, 89, 23, 20}},
    {keypad::k1, K::Button, "1", {232, 109, 23, 20}},
    {keypad::k2, K::Button, "2", {255, 109, 23, 20}},
    {keypad::k3, K::Button, "3", {279, 109, 23, 20}},
    {keypad::k0, K::Button, "0", {232, 129, 23, 20}},
    {keypad::k00, K::Button, "00", {255, 129, 23, 20}},
    {keypad::kClear, K::Button, "クリア", {279, 129, 23, 20}},
    {kingaku::kAmountList, K::Edit, "", {7, 162, 295, 14}, kReadOnly},
    {kOk, K::Button, "OK(戻る)", {198, 189, 50, 14}, kDefaultButton},
    {kCancel, K::Button, "キャンセル", {252, 189, 50, 14}},
    {-1, K::Static, "1つのPDFファイルに、複数の請求書があり", {7, 18, 130, 8}},
    {-2, K::Static, "かつ、種類（請求書など）、日付、取引先会社名が同じときのみ使用可能", {7, 31, 232, 8}},
    // Row labels.
    {-3, K::Static, "1", {7, 55, 8, 8}},
    {-4, K::Static, "2", {7, 70, 8, 8}},
    {-5, K::Static, "3", {7, 86, 8, 8}},
    {-6, K::Static, "4", {7, 103, 8, 8}},
    {-7, K::Static, "5", {7, 122, 8, 8}},
    {-8, K::Static, "6", {7, 137, 8, 8}},
    {-9, K::Static, "※必ず書類の順番と同じ順番で金額を入力してください。", {19, 153, 181, 8}},
};

constexpr int kKingakuTabOrder[] = {
    // amount edits
    kingaku::kAmount1, kingaku::kAmount2, kingaku::kAmount3,
    kingaku::kAmount4, kingaku::kAmount5, kingaku::kAmount6,
    // keypad
    keypad::k7, keypad::k8, keypad::k9, keypad::k4, keypad::k5, keypad::k6,
    keypad::k1, keypad::k2, keypad::k3, keypad::k0, keypad::k00, keypad::kClear,
    // list, OK, Cancel
    kingaku::kAmountList, kOk, kCancel,
    // formatted views
    kingaku::kView1, kingaku::kView2, kingaku::kView3,
    kingaku::kView4, kingaku::kView5, kingaku::kView6,
};

// ---- 139: index export (索引簿出力) ---------------------------------------------------------------

constexpr ControlTemplate kCsvOutControls[] = {
    {-1, K::Static, "リスト化対象フォルダ（年度）", {7, 7, 241, 8}},
    {csvOut::kTargetField, K::Edit, "", {7, 17, 241, 14}, kAutoScroll},
    {csvOut::kTargetBrowseButton, K::Button, "参照", {252, 17, 50, 14}},
    {-2, K::Static, "出力フォルダ名", {7, 37, 241, 8}},
    {csvOut::kOutputFolderField, K::Edit, "", {7, 47, 241, 14}, kAutoScroll},
    {csvOut::kOutputBrowseButton, K::Button, "参照", {252, 47, 50, 14}},
    {-3, K::Static, "出力ファイル名(CSV)", {7, 67, 241, 8}},
    {csvOut::kFileNameField, K::Edit, "", {7, 77, 241, 14}, kAutoScroll},
    {csvOut::kOpenCsvButton, K::Button, "確認", {252, 77, 50, 14}}, // opens the CSV file named above
    {csvOut::kRelativeLinksBox, K::CheckBox, "リンク先を相対パスで出力", {7, 96, 241, 10}},
    {csvOut::kExportButton, K::Button, "リスト出力（索引簿CSVファイル出力）", {7, 112, 295, 21}},
    {kOk, K::Button, "OK", {198, 119, 50, 14}, kDefaultButton | kHidden},
    {kCancel, K::Button, "キャンセル", {252, 119, 50, 14}, kHidden},
    // How far a running export has come, and the button that stops it.
    {csvOut::kProgressLine, K::Static, "", {7, 140, 295, 8}},
    {csvOut::kProgressBar, K::ProgressBar, "", {7, 153, 241, 12}},
    {csvOut::kStopButton, K::Button, "中止", {252, 152, 50, 14}, kDisabled},
};

// ---- 141: menu (MENU) ---------------------------------------------------------------------------

constexpr ControlTemplate kMenuControls[] = {
    {menu::kSettingsButton, K::Button, "設定", {7, 7, 116, 20}},
    {menu::kIndexExportButton, K::Button, "索引簿CSV出力", {7, 31, 116, 20}},
    {menu::kBackupButton, K::Button, "保存データコピー", {7, 55, 116, 20}},
    // The filing ledger: corrections and deletions, and the check of the storage.
    {menu::kCorrectButton, K::Button, "訂正・削除", {7, 79, 116, 20}},
    {menu::kVerifyButton, K::Button, "検証", {7, 103, 116, 20}},
    // The two web pages, set a little apart.
    {menu::kManualButton, K::Button, "オンラインマニュアル", {7, 133, 116, 20}},
    {menu::kWebSiteButton, K::Button, "公式サイト", {7, 157, 116, 20}},
    {menu::kBackButton, K::Button, "戻る", {73, 185, 50, 14}},
};

// ---- 150: correction and deletion (訂正・削除) ------------------------------------------------------

constexpr ControlTemplate kCorrectControls[] = {
    {-1, K::Static, "訂正・削除する書類（保存先フォルダの中から選びます）", {7, 7, 300, 8}},
    {correct::kStoredField, K::Edit, "", {7, 17, 300, 14}, kReadOnly | kAutoScroll},
    {correct::kChooseDocumentButton, K::Button, "参照", {311, 17, 50, 14}},
    {-2, K::GroupBox, "訂正後の内容", {7, 37, 354, 121}},
    {-3, K::Static, "種類", {14, 53, 50, 8}},
    {correct::kTypeField, K::Edit, "", {68, 51, 120, 14}},
    {-4, K::Static, "日付", {14, 71, 50, 8}},
    {correct::kDateField, K::Edit, "", {68, 69, 60, 14}},
    {-5, K::Static, "会社名", {14, 89, 50, 8}},
    {correct::kCompanyField, K::Edit, "", {68, 87, 160, 14}},
    {-6, K::Static, "金額", {14, 107, 50, 8}},
    {correct::kAmountField, K::Edit, "", {68, 105, 60, 14}, kRightAligned},
    {-7, K::Static, "追加の金額（空白区切り）", {134, 107, 90, 8}},
    {correct::kExtraField, K::Edit, "", {228, 105, 126, 14}},
    {-8, K::Static, "備考", {14, 125, 50, 8}},
    {correct::kRemarkField, K::Edit, "", {68, 123, 286, 14}},
    {-9, K::Static, "訂正後の名前", {14, 143, 50, 8}},
    {correct::kCorrectedName, K::Static, "", {68, 143, 286, 8}},
    {-10, K::Static, "差し替えるファイル（よりよいスキャンなど。空なら内容はそのまま）", {7, 164, 300, 8}},
    {correct::kSourceField, K::Edit, "", {7, 174, 246, 14}, kReadOnly | kAutoScroll},
    {correct::kChooseSourceButton, K::Button, "参照", {257, 174, 50, 14}},
    {correct::kClearSourceButton, K::Button, "クリア", {311, 174, 50, 14}},
    {-11, K::Static, "理由（必須）", {7, 196, 56, 8}},
    {correct::kReasonField, K::Edit, "", {68, 194, 293, 14}},
    {-12, K::Static, "処理担当者", {7, 214, 56, 8}},
    {correct::kPersonField, K::Edit, "", {68, 212, 120, 14}},
    {correct::kCorrectButton, K::Button, "訂正", {149, 236, 68, 18}},
    {correct::kDeleteButton, K::Button, "削除", {221, 236, 68, 18}},
    {kCancel, K::Button, "閉じる", {293, 236, 68, 18}},
};

// ---- 151: verification (検証) ---------------------------------------------------------------------

constexpr ControlTemplate kVerifyControls[] = {
    {-1, K::Static, "台帳と保存データを照合します（改ざん・欠落・未記録の書類・台帳の連鎖）。", {7, 7, 300, 8}},
    {-2, K::Static, "対象フォルダ（保存先フォルダ、またはそのバックアップ）", {7, 21, 300, 8}},
    {verify::kFolderField, K::Edit, "", {7, 31, 246, 14}, kAutoScroll},
    {verify::kBrowseButton, K::Button, "参照", {257, 31, 50, 14}},
    {verify::kExecuteButton, K::Button, "検証 実行", {7, 51, 300, 18}},
    {verify::kProgressLine, K::Static, "", {7, 75, 300, 8}},
    {verify::kCurrentFile, K::Static, "", {7, 87, 300, 8}},
    {verify::kProgressBar, K::ProgressBar, "", {7, 100, 246, 12}},
    {verify::kStopButton, K::Button, "中止", {257, 99, 50, 14}, kDisabled},
    {kCancel, K::Button, "閉じる", {257, 121, 50, 14}},
};

// ---- 145: backup copy (保存データコピー) -----------------------------------------------------------

constexpr ControlTemplate kCopyDirControls[] = {
    {-1, K::Static, "保存データを、年度フォルダごとまるごとコピー（バックアップ）します。", {7, 7, 361, 8}},
    // The group boxes leave room under their titles, which are drawn above the frame line.
    {-2, K::GroupBox, "コピー元", {7, 19, 361, 55}},
    {-3, K::Static, "コピー対象フォルダ（年度）", {14, 33, 290, 8}},
    {copyDir::kSourceField, K::Edit, "", {14, 43, 290, 14}, kAutoScroll},
    {copyDir::kSourceBrowseButton, K::Button, "参照", {311, 43, 50, 14}},
    {-4, K::Static, "※年度を選択しないで、ダイアログ表示時の初期状態ですべてコピー", {14, 61, 347, 8}},
    {-5, K::GroupBox, "コピー先", {7, 78, 361, 95}},
    {-6, K::Static, "コピー先フォルダ", {14, 92, 290, 8}},
    {copyDir::kDestinationField, K::Edit, "", {14, 102, 290, 14}, kAutoScroll},
    {copyDir::kDestinationBrowseButton, K::Button, "参照", {311, 102, 50, 14}},
    {-7, K::Static, "バックアップ フォルダ名", {14, 120, 290, 8}},
    {copyDir::kNameField, K::Edit, "", {14, 130, 290, 14}, kAutoScroll},
    {-8, K::Static,
     "※「コピー先フォルダ」内に自動で「バックアップ　フォルダ名」のフォルダが作られ、その中にコピーされます",
     {14, 148, 347, 22}},
    {copyDir::kExecuteButton, K::Button, "コピー 実行（バックアップ実行）", {7, 177, 361, 18}},
    {kOk, K::Button, "OK", {264, 179, 50, 14}, kDefaultButton | kHidden},
    {kCancel, K::Button, "キャンセル", {318, 179, 50, 14}, kHidden},
    // How far a running copy has come, the file it copies, and the button that stops it.
    {copyDir::kProgressLine, K::Static, "", {7, 201, 361, 8}},
    {copyDir::kCurrentFile, K::Static, "", {7, 213, 361, 8}},
    {copyDir::kProgressBar, K::ProgressBar, "", {7, 226, 300, 12}},
    {copyDir::kStopButton, K::Button, "中止", {311, 225, 57, 14}, kDisabled},
};

// ---- the templates ------------------------------------------------------------------------------

const std::array kTemplates = {
    DialogTemplate{DialogId::Filing,    "ふみばこ",         250, 387, "MS UI Gothic", 9,
                   kAppWindow | kMinimizeBox | kStaysOnTop | kAcceptsFiles | kPaintedBackground,
                   kFilingControls, kFilingTabOrder},
    DialogTemplate{DialogId::Setting,   "設定",             347, 240, kShellDlg, 8, kModalDialog,
                   kSettingControls, {}},
    DialogTemplate{DialogId::SyainEdit, "社名変更",         217, 211, kShellDlg, 8, kModalDialog,
                   kSyainEditControls, {}},
    DialogTemplate{DialogId::Kingaku,   "",                 309, 210, kShellDlg, 8, kPaintedBackground,
                   kKingakuControls, kKingakuTabOrder},
    DialogTemplate{DialogId::CsvOut,    "索引簿出力",       309, 172, kShellDlg, 8, kModalDialog,
                   kCsvOutControls, {}},
    DialogTemplate{DialogId::Menu,      "MENU",             130, 206, kShellDlg, 8, kModalDialog,
                   kMenuControls, {}},
    DialogTemplate{DialogId::CopyDir,   "保存データコピー", 375, 245, kShellDlg, 8, kModalDialog,
                   kCopyDirControls, {}},
    DialogTemplate{DialogId::Correct,   "訂正・削除",       368, 261, kShellDlg, 8, kModalDialog,
                   kCorrectControls, {}},
    DialogTemplate{DialogId::Verify,    "検証",             314, 142, kShellDlg, 8, kModalDialog,
                   kVerifyControls, {}},
};

// clang-format on

} // namespace

const DialogTemplate& GetDialogTemplate(DialogId id) {
    for (const DialogTemplate& t : kTemplates) {
        if (t.id == id)
            return t;
    }
    std::abort(); // every DialogId has a template
}

} // namespace fmb
