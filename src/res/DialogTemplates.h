#pragma once

#include <cstdint>
#include <span>

// The program's dialog templates as data, like a resource script: for each dialog its caption,
// size, font and the table of its controls with their numeric ids, captions, rectangles and styles.
// Sizes and rectangles are in dialog units (x: a quarter of the font's average character width,
// y: an eighth of its height), so the whole dialog scales with its font. TemplateDialog
// (platform/TemplateDialog.h) builds the widgets from a template.

namespace fmb {

enum class DialogId {
    Filing = 102,    // the filing window, CFumibakoDlg
    Setting = 130,   // 設定, CSettingDlg
    SyainEdit = 132, // 社名変更, CSyainEditDlg
    Kingaku = 135,   // multiple amounts, CKingakuDig
    CsvOut = 139,    // 索引簿出力, CCsvOutDlg2
    Menu = 141,      // MENU, CMenuDlg
    CopyDir = 145,   // 保存データコピー, CCopyDirDlg
    Correct = 150,   // 訂正・削除, CCorrectDlg
    Verify = 151,    // 検証, CVerifyDlg
};

// Picture resources.
inline constexpr int kAppIconResource = 128;
inline constexpr int kBannerBitmapResource = 134;

enum class ControlKind {
    Static,        // text label
    Bitmap,        // picture label; ControlTemplate::bitmap names the resource
    EtchedLine,    // horizontal etched separator
    GroupBox,      // frame with an optional caption; only drawn, never holds the controls
    Edit,          // single-line edit
    Button,        // push button
    CheckBox,      // automatic check box (toggles on click)
    ListBox,       // single-selection list
    MonthCalendar, // month calendar, one day selected
    Tree,          // tree view
    ProgressBar,   // how far a long job has come; busy (moving) while its total is unknown
};

// Style flags of a control (combine with |).
enum ControlStyle : std::uint32_t {
    kPlain = 0,
    kReadOnly = 1u << 0,       // edit: text can be selected and copied, not changed
    kDisabled = 1u << 1,       // created disabled
    kHidden = 1u << 2,         // created invisible
    kRightAligned = 1u << 3,   // edit: text right-aligned
    kAutoScroll = 1u << 4,     // edit: scrolls sideways as the text grows (every edit here does)
    kSorted = 1u << 5,         // list box: keeps its items in Japanese collation order
    kNotify = 1u << 6,         // list box: reports selection changes
    kVScroll = 1u << 7,        // list box: vertical scroll bar when needed
    kPushLike = 1u << 8,       // check box: drawn as a push button that stays pressed
    kDefaultButton = 1u << 9,  // button: the dialog's default button
    kNoTodayCircle = 1u << 10, // calendar: today not marked
    kNoToday = 1u << 11,       // calendar: no "today" line below the days
    kHasLines = 1u << 12,      // tree: lines join the items
};

struct DluRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

struct ControlTemplate {
    // Numeric id by which the code reaches the control. Controls without one carry distinct ids
    // <= 0, which are never looked up.
    int id = 0;
    ControlKind kind = ControlKind::Static;
    const char* caption = "";
    DluRect rect;
    std::uint32_t style = kPlain;
    int bitmap = 0; // picture resource of a Bitmap control
};

// Window styles of a dialog (combine with |).
enum DialogStyle : std::uint32_t {
    kModalDialog = 0,             // title bar with a close box, modal frame
    kAppWindow = 1u << 0,         // a main window with its own taskbar button
    kMinimizeBox = 1u << 1,       // a minimise button in the title bar
    kStaysOnTop = 1u << 2,        // stays above other windows
    kAcceptsFiles = 1u << 3,      // accepts files dropped from the desktop
    kPaintedBackground = 1u << 4, // background RGB(250,252,250), labels drawn transparent
};

struct DialogTemplate {
    DialogId id;
    const char* caption;
    int width;  // dialog units
    int height; // dialog units
    const char* fontFace;
    int pointSize;
    std::uint32_t style;
    std::span<const ControlTemplate> controls; // creation order (stacking order)
    // Ids in tab order; when empty, the order of `controls`.
    std::span<const int> tabOrder;
};

const DialogTemplate& GetDialogTemplate(DialogId id);

} // namespace fmb
