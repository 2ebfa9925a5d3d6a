#include "res/DialogTemplates.h"

#include <array>
#include <cstdlib>

// The tables list the controls in creation order with x, y, width, height in dialog units.
// Controls without an id carry -1, -2, ... in table order.

namespace fmb {
namespace {

using K = ControlKind;

const char* const kShellDlg = "MS Shell Dlg";

// The tables keep one control per line, so they read like the resource script they stand for.
// clang-format off

// ---- 102: the filing window -------------------------------------------------------------------

constexpr ControlTemplate kFilingControls[] = {
    {-1, K::Bitmap, "", {0, 0, 179, 30}, kPlain, kBannerBitmapResource},
    {-2, K::Static, "元ファイル", {8, 35, 27, 8}},
    {1000, K::Edit, "", {39, 33, 101, 14}},
    {1055, K::Button, "参照", {141, 33, 22, 14}},
    {3, K::Button, "開く  （確認）", {10, 49, 153, 17}},
    {-3, K::GroupBox, "コピー元ファイルをここに", {169, 2, 77, 71}},
    {-4, K::Static, "↓↓↓", {118, 69, 22, 8}},
    // Type buttons, column by column: 1041 top left, 1042 below it, 1043 top of column 2, ...
    // They start below the frame's caption, whose line is taller than 8 units in a CJK font.
    {-5, K::GroupBox, "種類（コピー先フォルダ）", {4, 75, 242, 44}},
    {1073, K::Button, "<", {6, 89, 7, 28}},
    {1041, K::CheckBox, "Check1", {13, 89, 37, 13}, kPushLike},
    {1042, K::CheckBox, "Check1", {13, 104, 37, 13}, kPushLike},
    {1043, K::CheckBox, "Check1", {51, 89, 37, 13}, kPushLike},
    {1044, K::CheckBox, "Check1", {51, 104, 37, 13}, kPushLike},
    {1045, K::CheckBox, "Check1", {88, 89, 37, 13}, kPushLike},
    {1046, K::CheckBox, "Check1", {88, 104, 37, 13}, kPushLike},
    {1047, K::CheckBox, "Check1", {125, 89, 37, 13}, kPushLike},
    {1048, K::CheckBox, "Check1", {125, 104, 37, 13}, kPushLike},
    {1049, K::CheckBox, "Check1", {163, 89, 37, 13}, kPushLike},
    {1050, K::CheckBox, "Check1", {163, 104, 37, 13}, kPushLike},
    {1051, K::CheckBox, "Check1", {200, 89, 37, 13}, kPushLike},
    {1052, K::CheckBox, "Check1", {200, 104, 37, 13}, kPushLike},
    {1074, K::Button, ">", {237, 89, 7, 28}},
    {-6, K::GroupBox, "ファイル内容（コピー先ファイル名）", {4, 124, 242, 175}},
    {-7, K::Static, "【年月日】", {10, 139, 28, 8}},
    {1004, K::Edit, "", {9, 152, 82, 14}},
    {1001, K::MonthCalendar, "", {8, 170, 84, 90}, kNoTodayCircle | kNoToday},
    {1032, K::Button, "先月末", {8, 262, 35, 14}},
    {1071, K::Button, "本日", {44, 262, 19, 14}},
    {1033, K::Button, "今月末", {63, 262, 33, 14}},
    {-8, K::Static, "【会社名】", {100, 140, 28, 8}},
    {1053, K::Edit, "", {129, 138, 45, 12}, kReadOnly},
    {1003, K::Edit, "", {99, 152, 76, 14}},
    {1002, K::ListBox, "", {98, 170, 76, 86}, kSorted | kNotify | kVScroll},
    {1031, K::Button, "編集", {134, 262, 40, 14}},
    {-9, K::Static, "【金額】", {181, 140, 22, 8}},
    {1057, K::Button, "複数", {209, 134, 32, 14}},
    {1016, K::Edit, "", {180, 152, 60, 14}, kRightAligned},
    {1018, K::Edit, "", {180, 170, 60, 14}, kRightAligned | kDisabled},
    // Keypad: columns at x 180, 200, 220; rows at y 184, 206, 228, 250.
    {1011, K::Button, "7", {180, 184, 20, 21}},
    {1012, K::Button, "8", {200, 184, 20, 21}},
    {1014, K::Button, "9", {220, 184, 20, 21}},
    {1008, K::Button, "4", {180, 206, 20, 21}},
    {1009, K::Button, "5", {200, 206, 20, 21}},
    {1010, K::Button, "6", {220, 206, 20, 21}},
    {1005, K::Button, "1", {180, 228, 20, 21}},
    {1006, K::Button, "2", {200, 228, 20, 21}},
    {1007, K::Button, "3", {220, 228, 20, 21}},
    {1013, K::Button, "0", {180, 250, 20, 21}},
    {1015, K::Button, "00", {200, 250, 20, 21}},
    {1027, K::Button, "クリア", {220, 250, 20, 21}},
    {-10, K::Static, "【備考】→", {8, 283, 28, 8}},
    {1056, K::Edit, "", {38, 280, 203, 14}},
    {-11, K::Static, "↓↓↓", {118, 302, 22, 8}},
    {-12, K::Static, "コピー先", {7, 303, 23, 8}},
    {-13, K::Static, "フォルダ名", {12, 315, 28, 8}},
    {1028, K::Edit, "", {42, 313, 205, 14}, kDisabled},
    {-14, K::Static, "ファイル", {13, 332, 20, 8}},
    {1017, K::Edit, "", {42, 330, 205, 14}},
    // Execute is a little shorter and the bottom row a little higher than in the first layout, so
    // that the window with its title bar fits a 768-pixel screen at 125 %; the bottom row keeps
    // the margin of the controls above, so no button touches an edge.
    {1054, K::Button, "実行（コピーして保存）", {4, 348, 242, 18}},
    {-15, K::EtchedLine, "", {0, 368, 250, 2}}, // the pair of etched lines
    {1030, K::Button, "メニュー", {4, 371, 38, 14}},
    {1034, K::Button, "保存先フォルダ確認", {45, 371, 83, 14}},
    {2, K::Button, "終了", {192, 371, 54, 14}},
};

constexpr int kFilingTabOrder[] = {
    1000, 1055, 3,    1041, 1042, 1043, 1044, 1045, 1046, 1047, 1048, 1049, 1050,
    1051, 1052, 1004, 1001, 1032, 1071, 1033, 1053, 1003, 1002, 1031, 1057, 1016,
    1018, 1011, 1012, 1014, 1008, 1009, 1010, 1005, 1006, 1007, 1013, 1015, 1027,
    1056, 1028, 1017, 1054, 1030, 1034, 2,    1073, 1074,
};

// ---- 130: settings (設定) -----------------------------------------------------------------------

constexpr ControlTemplate kSettingControls[] = {
    {1028, K::Edit, "", {63, 37, 224, 14}},
    {1029, K::Button, "参照", {290, 37, 50, 14}},
    {1037, K::Edit, "", {63, 93, 40, 14}},
    {1073, K::CheckBox, "出力フォルダ「会社名」別", {16, 116, 95, 8}},
    {1072, K::CheckBox, "出力フォルダ「月」別", {16, 125, 79, 10}},
    {1070, K::CheckBox, "出力ファイル名 金額「,」あり", {16, 174, 103, 10}},
    {1071, K::CheckBox, "出力ファイル名 日付「_」あり", {16, 184, 105, 10}},
    {1, K::Button, "終了(保存)", {237, 219, 50, 14}, kDefaultButton},
    {2, K::Button, "キャンセル", {290, 219, 50, 14}},
    {-1, K::Static, "保存先フォルダ", {7, 40, 48, 8}},
    {1036, K::Button, "編集", {254, 92, 20, 14}, kHidden},
    {1034, K::ListBox, "", {236, 94, 12, 9}, kHidden},
    {-2, K::Static, "種類", {216, 94, 17, 8}, kHidden},
    {-3, K::Static, "年度末(月)", {7, 96, 38, 8}},
    {-4, K::Static, "指定したフォルダの下に「xxxx年度」フォルダが作成され、", {77, 53, 263, 8}},
    {-5, K::Static, "その年度フォルダ内に読取専用ファイルとしてコピーされます", {77, 63, 263, 8}},
    {-6, K::Bitmap, "", {0, 0, 209, 28}, kPlain, kBannerBitmapResource},
    {-7, K::Static, "Ver 1.2.0", {309, 7, 31, 8}},
    {1019, K::Button, "索引簿CSV出力", {313, 92, 27, 14}, kHidden},
    {1074, K::Tree, "", {123, 112, 217, 62}, kDisabled | kHasLines},
    {1075, K::Static, "", {123, 181, 217, 8}},
    {-8, K::Static, "フォルダ構成　例↓", {123, 102, 57, 8}},
    {1076, K::CheckBox, "出力ファイル名 備考に種類名", {16, 194, 111, 11}},
    {1087, K::CheckBox, "ファイル名区切り文字「_」(非推奨)", {216, 75, 124, 12}, kPushLike},
    // The person the filing ledger names for filings, corrections and deletions.
    {-9, K::Static, "処理担当者", {7, 211, 48, 8}},
    {1091, K::Edit, "", {63, 208, 100, 14}},
};

// ---- 132: company names (社名変更) ----------------------------------------------------------------

constexpr ControlTemplate kSyainEditControls[] = {
    {1035, K::Edit, "", {44, 6, 170, 14}},
    {1034, K::ListBox, "", {4, 26, 210, 105}, kSorted | kNotify | kVScroll},
    {1028, K::Edit, "", {9, 161, 143, 14}},
    {1020, K::Button, "前(株)", {9, 176, 27, 14}},
    {1021, K::Button, "後(株)", {40, 176, 27, 14}},
    {1022, K::Button, "クリア", {111, 176, 41, 14}},
    {1019, K::Button, "削除", {156, 138, 50, 14}},
    {1030, K::Button, "修正", {156, 154, 50, 14}},
    {1029, K::Button, "追加", {156, 168, 50, 14}},
    {1, K::Button, "終了(保存)", {149, 194, 68, 17}, kDefaultButton},
    {-1, K::Static, "種類名", {10, 10, 25, 8}},
    {-2, K::GroupBox, "", {4, 131, 210, 61}},
};

// ---- 135: multiple amounts ----------------------------------------------------------------------

constexpr ControlTemplate kKingakuControls[] = {
    // Amount edits 1 to 6.
    {1034, K::Edit, "", {110, 52, 87, 14}, kRightAligned},
    {1035, K::Edit, "", {110, 68, 87, 14}, kRightAligned},
    {1036, K::Edit, "", {110, 84, 87, 15}, kRightAligned},
    {1037, K::Edit, "", {110, 101, 87, 16}, kRightAligned},
    {1038, K::Edit, "", {110, 119, 87, 14}, kRightAligned},
    {1039, K::Edit, "", {110, 134, 87, 14}, kRightAligned},
    // Formatted views 1 to 6.
    {1058, K::Edit, "", {19, 52, 87, 14}, kReadOnly | kRightAligned},
    {1029, K::Edit, "", {19, 68, 87, 14}, kReadOnly | kRightAligned},
    {1030, K::Edit, "", {19, 84, 87, 15}, kReadOnly | kRightAligned},
    {1031, K::Edit, "", {19, 101, 87, 16}, kReadOnly | kRightAligned},
    {1032, K::Edit, "", {19, 119, 87, 14}, kReadOnly | kRightAligned},
    {1033, K::Edit, "", {19, 134, 87, 14}, kReadOnly | kRightAligned},
    // Target markers beside amount edits 1 to 6.
    {1059, K::Static, "←", {202, 54, 8, 8}},
    {1060, K::Static, "←", {202, 70, 8, 8}},
    {1061, K::Static, "←", {202, 87, 8, 8}},
    {1062, K::Static, "←", {202, 104, 8, 8}},
    {1063, K::Static, "←", {202, 121, 8, 8}},
    {1064, K::Static, "←", {202, 136, 8, 8}},
    // Keypad.
    {1011, K::Button, "7", {232, 68, 23, 20}},
    {1012, K::Button, "8", {255, 68, 23, 20}},
    {1014, K::Button, "9", {279, 68, 23, 20}},
    {1008, K::Button, "4", {232, 89, 23, 20}},
    {1009, K::Button, "5", {255, 89, 23, 20}},
    {1010, K::Button, "6", {279, 89, 23, 20}},
    {1005, K::Button, "1", {232, 109, 23, 20}},
    {1006, K::Button, "2", {255, 109, 23, 20}},
    {1007, K::Button, "3", {279, 109, 23, 20}},
    {1013, K::Button, "0", {232, 129, 23, 20}},
    {1015, K::Button, "00", {255, 129, 23, 20}},
    {1027, K::Button, "クリア", {279, 129, 23, 20}},
    {1040, K::Edit, "", {7, 162, 295, 14}, kReadOnly},
    {1, K::Button, "OK(戻る)", {198, 189, 50, 14}, kDefaultButton},
    {2, K::Button, "キャンセル", {252, 189, 50, 14}},
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
    1034, 1035, 1036, 1037, 1038, 1039,                         // amount edits
    1011, 1012, 1014, 1008, 1009, 1010, 1005, 1006, 1007, 1013, 1015, 1027, // keypad
    1040, 1,    2,                                              // list, OK, Cancel
    1058, 1029, 1030, 1031, 1032, 1033,                         // formatted views
};

// ---- 139: index export (索引簿出力) ---------------------------------------------------------------

constexpr ControlTemplate kCsvOutControls[] = {
    {-1, K::Static, "リスト化対象フォルダ（年度）", {7, 7, 241, 8}},
    {1066, K::Edit, "", {7, 17, 241, 14}, kAutoScroll},
    {1064, K::Button, "参照", {252, 17, 50, 14}},
    {-2, K::Static, "出力フォルダ名", {7, 37, 241, 8}},
    {1067, K::Edit, "", {7, 47, 241, 14}, kAutoScroll},
    {1069, K::Button, "参照", {252, 47, 50, 14}},
    {-3, K::Static, "出力ファイル名(CSV)", {7, 67, 241, 8}},
    {1068, K::Edit, "", {7, 77, 241, 14}, kAutoScroll},
    {1065, K::Button, "確認", {252, 77, 50, 14}}, // opens the CSV file named above
    {1085, K::CheckBox, "リンク先を相対パスで出力", {7, 96, 241, 10}},
    {1063, K::Button, "リスト出力（索引簿CSVファイル出力）", {7, 112, 295, 21}},
    {1, K::Button, "OK", {198, 119, 50, 14}, kDefaultButton | kHidden},
    {2, K::Button, "キャンセル", {252, 119, 50, 14}, kHidden},
    // How far a running export has come, and the button that stops it.
    {1087, K::Static, "", {7, 140, 295, 8}},
    {1089, K::ProgressBar, "", {7, 153, 241, 12}},
    {1090, K::Button, "中止", {252, 152, 50, 14}, kDisabled},
};

// ---- 141: menu (MENU) ---------------------------------------------------------------------------

constexpr ControlTemplate kMenuControls[] = {
    {1029, K::Button, "設定", {7, 7, 116, 20}},
    {1031, K::Button, "索引簿CSV出力", {7, 31, 116, 20}},
    {1054, K::Button, "保存データコピー", {7, 55, 116, 20}},
    // The filing ledger: corrections and deletions, and the check of the storage.
    {1034, K::Button, "訂正・削除", {7, 79, 116, 20}},
    {1035, K::Button, "検証", {7, 103, 116, 20}},
    // The two web pages, set a little apart.
    {1032, K::Button, "オンラインマニュアル", {7, 133, 116, 20}},
    {1033, K::Button, "公式サイト", {7, 157, 116, 20}},
    {1019, K::Button, "戻る", {73, 185, 50, 14}},
};

// ---- 150: correction and deletion (訂正・削除) ------------------------------------------------------

constexpr ControlTemplate kCorrectControls[] = {
    {-1, K::Static, "訂正・削除する書類（保存先フォルダの中から選びます）", {7, 7, 300, 8}},
    {1101, K::Edit, "", {7, 17, 300, 14}, kReadOnly | kAutoScroll},
    {1102, K::Button, "参照", {311, 17, 50, 14}},
    {-2, K::GroupBox, "訂正後の内容", {7, 37, 354, 121}},
    {-3, K::Static, "種類", {14, 53, 50, 8}},
    {1103, K::Edit, "", {68, 51, 120, 14}},
    {-4, K::Static, "日付", {14, 71, 50, 8}},
    {1104, K::Edit, "", {68, 69, 60, 14}},
    {-5, K::Static, "会社名", {14, 89, 50, 8}},
    {1105, K::Edit, "", {68, 87, 160, 14}},
    {-6, K::Static, "金額", {14, 107, 50, 8}},
    {1106, K::Edit, "", {68, 105, 60, 14}, kRightAligned},
    {-7, K::Static, "追加の金額（空白区切り）", {134, 107, 90, 8}},
    {1107, K::Edit, "", {228, 105, 126, 14}},
    {-8, K::Static, "備考", {14, 125, 50, 8}},
    {1108, K::Edit, "", {68, 123, 286, 14}},
    {-9, K::Static, "訂正後の名前", {14, 143, 50, 8}},
    {1114, K::Static, "", {68, 143, 286, 8}},
    {-10, K::Static, "差し替えるファイル（よりよいスキャンなど。空なら内容はそのまま）", {7, 164, 300, 8}},
    {1109, K::Edit, "", {7, 174, 246, 14}, kReadOnly | kAutoScroll},
    {1110, K::Button, "参照", {257, 174, 50, 14}},
    {1111, K::Button, "クリア", {311, 174, 50, 14}},
    {-11, K::Static, "理由（必須）", {7, 196, 56, 8}},
    {1112, K::Edit, "", {68, 194, 293, 14}},
    {-12, K::Static, "処理担当者", {7, 214, 56, 8}},
    {1113, K::Edit, "", {68, 212, 120, 14}},
    {1115, K::Button, "訂正", {149, 236, 68, 18}},
    {1116, K::Button, "削除", {221, 236, 68, 18}},
    {2, K::Button, "閉じる", {293, 236, 68, 18}},
};

// ---- 151: verification (検証) ---------------------------------------------------------------------

constexpr ControlTemplate kVerifyControls[] = {
    {-1, K::Static, "台帳と保存データを照合します（改ざん・欠落・未記録の書類・台帳の連鎖）。", {7, 7, 300, 8}},
    {-2, K::Static, "対象フォルダ（保存先フォルダ、またはそのバックアップ）", {7, 21, 300, 8}},
    {1083, K::Edit, "", {7, 31, 246, 14}, kAutoScroll},
    {1080, K::Button, "参照", {257, 31, 50, 14}},
    {1082, K::Button, "検証 実行", {7, 51, 300, 18}},
    {1087, K::Static, "", {7, 75, 300, 8}},
    {1088, K::Static, "", {7, 87, 300, 8}},
    {1089, K::ProgressBar, "", {7, 100, 246, 12}},
    {1090, K::Button, "中止", {257, 99, 50, 14}, kDisabled},
    {2, K::Button, "閉じる", {257, 121, 50, 14}},
};

// ---- 145: backup copy (保存データコピー) -----------------------------------------------------------

constexpr ControlTemplate kCopyDirControls[] = {
    {-1, K::Static, "保存データを、年度フォルダごとまるごとコピー（バックアップ）します。", {7, 7, 361, 8}},
    // The group boxes leave room under their titles, which are drawn above the frame line.
    {-2, K::GroupBox, "コピー元", {7, 19, 361, 55}},
    {-3, K::Static, "コピー対象フォルダ（年度）", {14, 33, 290, 8}},
    {1083, K::Edit, "", {14, 43, 290, 14}, kAutoScroll},
    {1080, K::Button, "参照", {311, 43, 50, 14}},
    {-4, K::Static, "※年度を選択しないで、ダイアログ表示時の初期状態ですべてコピー", {14, 61, 347, 8}},
    {-5, K::GroupBox, "コピー先", {7, 78, 361, 95}},
    {-6, K::Static, "コピー先フォルダ", {14, 92, 290, 8}},
    {1084, K::Edit, "", {14, 102, 290, 14}, kAutoScroll},
    {1081, K::Button, "参照", {311, 102, 50, 14}},
    {-7, K::Static, "バックアップ フォルダ名", {14, 120, 290, 8}},
    {1079, K::Edit, "", {14, 130, 290, 14}, kAutoScroll},
    {1086, K::CheckBox, "索引簿を作成（「コピー先フォルダ」直下に作成、相対パスでリンク作成）",
     {14, 148, 347, 10}, kHidden | kDisabled},
    {-8, K::Static,
     "※「コピー先フォルダ」内に自動で「バックアップ　フォルダ名」のフォルダが作られ、その中にコピーされます",
     {14, 148, 347, 22}},
    {1082, K::Button, "コピー 実行（バックアップ実行）", {7, 177, 361, 18}},
    {1, K::Button, "OK", {264, 179, 50, 14}, kDefaultButton | kHidden},
    {2, K::Button, "キャンセル", {318, 179, 50, 14}, kHidden},
    // How far a running copy has come, the file it copies, and the button that stops it.
    {1087, K::Static, "", {7, 201, 361, 8}},
    {1088, K::Static, "", {7, 213, 361, 8}},
    {1089, K::ProgressBar, "", {7, 226, 300, 12}},
    {1090, K::Button, "中止", {311, 225, 57, 14}, kDisabled},
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
