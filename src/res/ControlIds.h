#pragma once

#include <array>

// The numeric ids of the dialogs' controls, one namespace per dialog. The dialog templates
// (res/DialogTemplates.cpp), the dialogs, the screenshot program and the tests all name a control
// through these constants. The numbers are those of the original resource script and stay as they
// are; controls of different dialogs may share a number.
namespace fmb::ids {

// The buttons that close a dialog, as in every Windows dialog: OK calls accept(), Cancel reject().
inline constexpr int kOk = 1;
inline constexpr int kCancel = 2;

// The on-screen keypad of the filing window and of the multiple-amounts dialog.
namespace keypad {
inline constexpr int k0 = 1013;
inline constexpr int k1 = 1005;
inline constexpr int k2 = 1006;
inline constexpr int k3 = 1007;
inline constexpr int k4 = 1008;
inline constexpr int k5 = 1009;
inline constexpr int k6 = 1010;
inline constexpr int k7 = 1011;
inline constexpr int k8 = 1012;
inline constexpr int k9 = 1014;
inline constexpr int k00 = 1015;
inline constexpr int kClear = 1027;
} // namespace keypad

// 102: the filing window, CFumibakoDlg.
namespace filing {
inline constexpr int kSourceField = 1000;
inline constexpr int kBrowseButton = 1055;
inline constexpr int kOpenSourceButton = 3;
// The twelve type buttons, column by column: 1 top left, 2 below it, 3 top of column 2, ...
inline constexpr int kTypeButton1 = 1041;
inline constexpr int kTypeButton2 = 1042;
inline constexpr int kTypeButton3 = 1043;
inline constexpr int kTypeButton4 = 1044;
inline constexpr int kTypeButton5 = 1045;
inline constexpr int kTypeButton6 = 1046;
inline constexpr int kTypeButton7 = 1047;
inline constexpr int kTypeButton8 = 1048;
inline constexpr int kTypeButton9 = 1049;
inline constexpr int kTypeButton10 = 1050;
inline constexpr int kTypeButton11 = 1051;
inline constexpr int kTypeButton12 = 1052;
inline constexpr std::array kTypeButtons = {
    kTypeButton1, kTypeButton2, kTypeButton3, kTypeButton4,  kTypeButton5,  kTypeButton6,
    kTypeButton7, kTypeButton8, kTypeButton9, kTypeButton10, kTypeButton11, kTypeButton12};
inline constexpr int kPageBackButton = 1073;
inline constexpr int kPageForwardButton = 1074;
inline constexpr int kDateField = 1004;
inline constexpr int kCalendar = 1001;
inline constexpr int kLastMonthEndButton = 1032;
inline constexpr int kTodayButton = 1071;
inline constexpr int kThisMonthEndButton = 1033;
inline constexpr int kTypeNameField = 1053;
inline constexpr int kCompanyField = 1003;
inline constexpr int kCompanyList = 1002;
inline constexpr int kEditCompaniesButton = 1031;
inline constexpr int kMultipleAmountsButton = 1057;
inline constexpr int kAmountField = 1016;
inline constexpr int kGroupedAmount = 1018;
inline constexpr int kRemarkField = 1056;
inline constexpr int kFolderField = 1028;
inline constexpr int kFileNameField = 1017;
inline constexpr int kExecuteButton = 1054;
inline constexpr int kMenuButton = 1030;
inline constexpr int kStorageFolderButton = 1034;
inline constexpr int kSearchButton = 1090;
inline constexpr int kExitButton = kCancel;
} // namespace filing

// 130: 設定, CSettingDlg.
namespace setting {
inline constexpr int kRootField = 1028;
inline constexpr int kBrowseButton = 1029;
inline constexpr int kEndMonthField = 1037;
inline constexpr int kCompanyFoldersBox = 1073;  // DIR_COMPANY_SEPA_FLG
inline constexpr int kMonthFoldersBox = 1072;    // DIR_MM_SEPA_FLG
inline constexpr int kAmountCommasBox = 1070;    // KINGAKU_KANMA_FLG
inline constexpr int kDateUnderscoresBox = 1071; // HIDUKE_UB_FLG
inline constexpr int kTypeInRemarkBox = 1076;    // BIKOU_SYUBETSU_FLG
inline constexpr int kUnderscoreFormBox = 1087;  // KUGIRI_BER_FLG
inline constexpr int kEditTypeButton = 1036;     // hidden
inline constexpr int kTypeList = 1034;           // hidden
inline constexpr int kExampleTree = 1074;
inline constexpr int kExampleName = 1075;
inline constexpr int kPersonField = 1091; // SYORI_TANTOUSYA
} // namespace setting

// 132: 社名変更, CSyainEditDlg.
namespace syainEdit {
inline constexpr int kTypeNameField = 1035;
inline constexpr int kCompanyList = 1034;
inline constexpr int kEntryField = 1028;
inline constexpr int kMarkFrontButton = 1020;
inline constexpr int kMarkBackButton = 1021;
inline constexpr int kClearButton = 1022;
inline constexpr int kDeleteButton = 1019;
inline constexpr int kReplaceButton = 1030;
inline constexpr int kAddButton = 1029;
} // namespace syainEdit

// 135: the multiple-amounts dialog, CKingakuDig. Rows 1 to 6 each have an amount edit, a view of
// the amount with separators and a marker that shows where the keypad writes.
namespace kingaku {
inline constexpr int kAmount1 = 1034;
inline constexpr int kAmount2 = 1035;
inline constexpr int kAmount3 = 1036;
inline constexpr int kAmount4 = 1037;
inline constexpr int kAmount5 = 1038;
inline constexpr int kAmount6 = 1039;
inline constexpr int kView1 = 1058;
inline constexpr int kView2 = 1029;
inline constexpr int kView3 = 1030;
inline constexpr int kView4 = 1031;
inline constexpr int kView5 = 1032;
inline constexpr int kView6 = 1033;
inline constexpr int kMarker1 = 1059;
inline constexpr int kMarker2 = 1060;
inline constexpr int kMarker3 = 1061;
inline constexpr int kMarker4 = 1062;
inline constexpr int kMarker5 = 1063;
inline constexpr int kMarker6 = 1064;
inline constexpr std::array kAmountEdits = {kAmount1, kAmount2, kAmount3,
                                            kAmount4, kAmount5, kAmount6};
inline constexpr std::array kViews = {kView1, kView2, kView3, kView4, kView5, kView6};
inline constexpr std::array kMarkers = {kMarker1, kMarker2, kMarker3, kMarker4, kMarker5, kMarker6};
inline constexpr int kAmountList = 1040;
} // namespace kingaku

// 139: 索引簿出力, CCsvOutDlg2.
namespace csvOut {
inline constexpr int kTargetField = 1066;
inline constexpr int kTargetBrowseButton = 1064;
inline constexpr int kOutputFolderField = 1067;
inline constexpr int kOutputBrowseButton = 1069;
inline constexpr int kFileNameField = 1068;
inline constexpr int kOpenCsvButton = 1065;
inline constexpr int kRelativeLinksBox = 1085;
inline constexpr int kExportButton = 1063;
inline constexpr int kProgressLine = 1087;
inline constexpr int kProgressBar = 1089;
inline constexpr int kStopButton = 1090;
} // namespace csvOut

// 141: MENU, CMenuDlg.
namespace menu {
inline constexpr int kSettingsButton = 1029;
inline constexpr int kIndexExportButton = 1031;
inline constexpr int kBackupButton = 1054;
inline constexpr int kCorrectButton = 1034;
inline constexpr int kVerifyButton = 1035;
inline constexpr int kManualButton = 1032;
inline constexpr int kWebSiteButton = 1033;
inline constexpr int kBackButton = 1019;
} // namespace menu

// 145: 保存データコピー, CCopyDirDlg.
namespace copyDir {
inline constexpr int kSourceField = 1083;
inline constexpr int kSourceBrowseButton = 1080;
inline constexpr int kDestinationField = 1084;
inline constexpr int kDestinationBrowseButton = 1081;
inline constexpr int kNameField = 1079;
inline constexpr int kExecuteButton = 1082;
inline constexpr int kProgressLine = 1087;
inline constexpr int kCurrentFile = 1088;
inline constexpr int kProgressBar = 1089;
inline constexpr int kStopButton = 1090;
} // namespace copyDir

// 150: 訂正・削除, CCorrectDlg.
namespace correct {
inline constexpr int kStoredField = 1101;
inline constexpr int kChooseDocumentButton = 1102;
inline constexpr int kTypeField = 1103;
inline constexpr int kDateField = 1104;
inline constexpr int kCompanyField = 1105;
inline constexpr int kAmountField = 1106;
inline constexpr int kExtraField = 1107;
inline constexpr int kRemarkField = 1108;
inline constexpr int kSourceField = 1109;
inline constexpr int kChooseSourceButton = 1110;
inline constexpr int kClearSourceButton = 1111;
inline constexpr int kReasonField = 1112;
inline constexpr int kPersonField = 1113;
inline constexpr int kCorrectedName = 1114;
inline constexpr int kCorrectButton = 1115;
inline constexpr int kDeleteButton = 1116;
} // namespace correct

// 151: 検証, CVerifyDlg.
namespace verify {
inline constexpr int kFolderField = 1083;
inline constexpr int kBrowseButton = 1080;
inline constexpr int kExecuteButton = 1082;
inline constexpr int kProgressLine = 1087;
inline constexpr int kCurrentFile = 1088;
inline constexpr int kProgressBar = 1089;
inline constexpr int kStopButton = 1090;
} // namespace verify

} // namespace fmb::ids
