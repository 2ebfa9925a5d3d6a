// The dialog builder: every control of a template at its rectangle, with its kind, caption,
// styles and tab order, reachable by its id.
#include "platform/TemplateDialog.h"
#include "platform/ListBox.h"
#include "platform/Pictures.h"
#include "res/ControlIds.h"
#include "support/DialogTest.h"

#include <QAbstractButton>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <tuple>
#include <vector>

namespace fmb {
namespace {

using testing::ElementsAreArray;

const DialogId kAllDialogs[] = {DialogId::Filing,  DialogId::Setting, DialogId::SyainEdit,
                                DialogId::Kingaku, DialogId::CsvOut,  DialogId::Menu,
                                DialogId::CopyDir, DialogId::Correct, DialogId::Verify};

// Dialog units to pixels, worked out here from the font's metrics the way Windows does.
struct Units {
    double x;
    double y;
    explicit Units(const QFont& font) {
        const QFontMetrics metrics(font);
        const int letters = metrics.horizontalAdvance(
            QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
        x = std::lround(letters / 52.0) / 4.0;
        y = std::min(metrics.height(), QFontInfo(font).pixelSize()) / 8.0;
    }
    QRect Pixels(int left, int top, int width, int height) const {
        return QRect(int(std::lround(left * x)), int(std::lround(top * y)),
                     int(std::lround(width * x)), int(std::lround(height * y)));
    }
};

// Where a single line of static text sits: its rectangle grown about its middle to the dialog
// font's line height, so that no glyph is cut.
QRect TextLine(const ControlTemplate& control, const QRect& rect, const QFont& font) {
    const int line = QFontMetrics(font).height();
    if (control.kind != ControlKind::Static || rect.height() >= line)
        return rect;
    return QRect(rect.x(), rect.y() - (line - rect.height()) / 2, rect.width(), line);
}

std::tuple<int, int, int, int> Key(const QRect& r) {
    return {r.x(), r.y(), r.width(), r.height()};
}

TEST(TemplateDialog, EveryControlSitsAtItsRectangleAndTheDialogHasItsSize) {
    for (DialogId id : kAllDialogs) {
        SCOPED_TRACE(static_cast<int>(id));
        const DialogTemplate& data = GetDialogTemplate(id);
        TemplateDialog dialog(id);
        const Units units(dialog.font());

        EXPECT_EQ(dialog.size(), units.Pixels(0, 0, data.width, data.height).size());
        EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize()) << "fixed size";
        EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8(data.caption));
        EXPECT_EQ(dialog.font().pointSize(), id == DialogId::Filing ? 9 : 8);

        // Every child widget, named or not, at one of the template's rectangles.
        std::vector<std::tuple<int, int, int, int>> expected;
        for (const ControlTemplate& control : data.controls) {
            const DluRect& r = control.rect;
            expected.push_back(
                Key(TextLine(control, units.Pixels(r.x, r.y, r.width, r.height), dialog.font())));
            if (control.id > 0) {
                QWidget* widget = dialog.ControlWidget(control.id);
                ASSERT_NE(widget, nullptr) << control.id;
                EXPECT_EQ(Key(widget->geometry()), expected.back()) << control.id;
                EXPECT_EQ(widget->objectName(), QStringLiteral("ctl%1").arg(control.id));
                EXPECT_EQ(widget->parentWidget(), &dialog);
            }
        }
        std::vector<std::tuple<int, int, int, int>> built;
        for (QWidget* child : dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            built.push_back(Key(child->geometry()));
        std::sort(expected.begin(), expected.end());
        std::sort(built.begin(), built.end());
        EXPECT_EQ(built, expected);
    }
}

// The CJK fonts' line box is taller than the dialog units' line: a label of one line is given
// the whole box, so its descenders and underscores show, and lets clicks through to what it
// overlaps.
TEST(TemplateDialog, ALineOfStaticTextHasRoomForItsGlyphs) {
    for (DialogId id : kAllDialogs) {
        TemplateDialog dialog(id);
        for (QLabel* label : dialog.findChildren<QLabel*>()) {
            if (!label->pixmap().isNull() || label->wordWrap())
                continue;
            SCOPED_TRACE(label->text().toStdString());
            EXPECT_GE(label->height(), label->fontMetrics().height());
            EXPECT_TRUE(label->testAttribute(Qt::WA_TransparentForMouseEvents));
        }
    }
}

// Without the Windows fonts the dialogs fall back to the system's Japanese UI font.
TEST(TemplateDialog, UsesAJapaneseFontWhenTheWindowsFontIsMissing) {
    const QFont font = DialogFont("MS UI Gothic", 9);
    EXPECT_EQ(font.pointSize(), 9);
    EXPECT_TRUE(QFontMetrics(font).inFontUcs4(U'ふ')) << font.family().toStdString();
}

// A sample of the filing window's table, row by row: kind, caption, rectangle and style.
TEST(TemplateDialog, FilingWindowControlsHaveTheirKindsCaptionsAndStyles) {
    TemplateDialog dialog(DialogId::Filing);
    const Units units(dialog.font());
    struct Row {
        int id;
        const char* className;
        const char* caption;
        QRect rect; // dialog units
    };
    const Row rows[] = {
        {ids::filing::kSourceField, "QLineEdit", "", {39, 33, 101, 14}},
        {ids::filing::kBrowseButton, "QPushButton", "参照", {141, 33, 22, 14}},
        {ids::filing::kOpenSourceButton, "QPushButton", "開く  （確認）", {10, 49, 153, 17}},
        {ids::filing::kPageBackButton, "QPushButton", "<", {6, 89, 7, 28}},
        {ids::filing::kTypeButton1, "QPushButton", "Check1", {13, 89, 37, 13}},
        {ids::filing::kTypeButton2, "QPushButton", "Check1", {13, 104, 37, 13}},
        {ids::filing::kTypeButton3, "QPushButton", "Check1", {51, 89, 37, 13}},
        {ids::filing::kTypeButton10, "QPushButton", "Check1", {163, 104, 37, 13}},
        {ids::filing::kTypeButton12, "QPushButton", "Check1", {200, 104, 37, 13}},
        {ids::filing::kDateField, "QLineEdit", "", {9, 152, 82, 14}},
        {ids::filing::kCalendar, "QCalendarWidget", "", {8, 170, 84, 90}},
        {ids::filing::kTodayButton, "QPushButton", "本日", {44, 262, 19, 14}},
        {ids::filing::kTypeNameField, "QLineEdit", "", {129, 138, 45, 12}},
        {ids::filing::kCompanyList, "fmb::ListBox", "", {98, 170, 76, 86}},
        {ids::filing::kAmountField, "QLineEdit", "", {180, 152, 60, 14}},
        {ids::filing::kGroupedAmount, "QLineEdit", "", {180, 170, 60, 14}},
        {ids::keypad::k7, "QPushButton", "7", {180, 184, 20, 21}},
        {ids::keypad::k9, "QPushButton", "9", {220, 184, 20, 21}},
        {ids::keypad::k1, "QPushButton", "1", {180, 228, 20, 21}},
        {ids::keypad::kClear, "QPushButton", "クリア", {220, 250, 20, 21}},
        {ids::filing::kFolderField, "QLineEdit", "", {42, 313, 205, 14}},
        {ids::filing::kExecuteButton, "QPushButton", "実行（コピーして保存）", {4, 348, 242, 18}},
        {ids::filing::kExitButton, "QPushButton", "終了", {192, 371, 54, 14}},
    };
    for (const Row& row : rows) {
        QWidget* widget = dialog.ControlWidget(row.id);
        ASSERT_NE(widget, nullptr) << row.id;
        EXPECT_STREQ(widget->metaObject()->className(), row.className) << row.id;
        EXPECT_EQ(widget->geometry(),
                  units.Pixels(row.rect.x(), row.rect.y(), row.rect.width(), row.rect.height()))
            << row.id;
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            EXPECT_EQ(button->text(), QString::fromUtf8(row.caption)) << row.id;
        }
    }

    // The twelve type buttons are push-like check boxes.
    for (int id : ids::filing::kTypeButtons)
        EXPECT_TRUE(dialog.Control<QPushButton>(id)->isCheckable()) << id;
    // None of the window's push buttons is a default button.
    for (QPushButton* button : dialog.findChildren<QPushButton*>())
        EXPECT_FALSE(button->isDefault()) << button->objectName().toStdString();

    EXPECT_TRUE(dialog.Control<QLineEdit>(ids::filing::kTypeNameField)->isReadOnly());
    EXPECT_FALSE(dialog.Control<QLineEdit>(ids::filing::kSourceField)->isReadOnly());
    EXPECT_TRUE(dialog.Control<QLineEdit>(ids::filing::kAmountField)->alignment() & Qt::AlignRight);
    EXPECT_TRUE(dialog.Control<QLineEdit>(ids::filing::kGroupedAmount)->alignment() &
                Qt::AlignRight);
    EXPECT_FALSE(dialog.Control<QLineEdit>(ids::filing::kGroupedAmount)->isEnabled());
    EXPECT_FALSE(dialog.Control<QLineEdit>(ids::filing::kFolderField)->isEnabled());
    EXPECT_TRUE(dialog.Control<QLineEdit>(ids::filing::kFileNameField)->isEnabled());
    EXPECT_TRUE(dialog.Control<ListBox>(ids::filing::kCompanyList)->IsSorted());
    EXPECT_EQ(dialog.Control<QCalendarWidget>(ids::filing::kCalendar)->verticalHeaderFormat(),
              QCalendarWidget::NoVerticalHeader);

    // Unnamed controls: the banner shows its picture, the frames and labels their captions.
    QStringList frames;
    for (QGroupBox* frame : dialog.findChildren<QGroupBox*>())
        frames << frame->title();
    EXPECT_THAT(frames, testing::UnorderedElementsAre(
                            QString::fromUtf8("コピー元ファイルをここに"),
                            QString::fromUtf8("種類（コピー先フォルダ）"),
                            QString::fromUtf8("ファイル内容（コピー先ファイル名）")));
    int pictures = 0;
    QStringList labels;
    for (QLabel* label : dialog.findChildren<QLabel*>()) {
        if (!label->pixmap().isNull())
            ++pictures;
        else
            labels << label->text();
    }
    EXPECT_EQ(pictures, 1);
    EXPECT_TRUE(labels.contains(QString::fromUtf8("【備考】→")));
    EXPECT_TRUE(labels.contains(QString::fromUtf8("フォルダ名")));
}

TEST(TemplateDialog, WindowFlagsAndBackground) {
    TemplateDialog filing(DialogId::Filing);
    EXPECT_TRUE(filing.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(filing.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(filing.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_EQ(filing.windowType(), Qt::Window);
    // Files dropped anywhere go to the window, not into the edit under the mouse.
    EXPECT_TRUE(filing.acceptDrops());
    for (QWidget* child : filing.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        EXPECT_FALSE(child->acceptDrops()) << child->objectName().toStdString();
    EXPECT_EQ(filing.palette().color(QPalette::Window), QColor(250, 252, 250));
    EXPECT_TRUE(filing.autoFillBackground());
    // Labels draw no background of their own, so the window's colour shows behind their text;
    // the disabled folder field takes the window's colour too.
    for (QLabel* label : filing.findChildren<QLabel*>())
        EXPECT_FALSE(label->autoFillBackground());
    EXPECT_EQ(filing.Control<QLineEdit>(ids::filing::kFolderField)
                  ->palette()
                  .color(QPalette::Disabled, QPalette::Base),
              QColor(250, 252, 250));
    EXPECT_NE(filing.Control<QLineEdit>(ids::filing::kSourceField)->palette().color(QPalette::Base),
              QColor(250, 252, 250));

    TemplateDialog kingaku(DialogId::Kingaku);
    EXPECT_EQ(kingaku.palette().color(QPalette::Window), QColor(250, 252, 250));

    TemplateDialog settings(DialogId::Setting);
    EXPECT_FALSE(settings.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(settings.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(settings.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_EQ(settings.windowType(), Qt::Dialog);
    EXPECT_NE(settings.palette().color(QPalette::Window), QColor(250, 252, 250));
}

// The ids met walking the focus chain from the first control once round.
std::vector<int> FocusChainIds(TemplateDialog& dialog, int firstId) {
    std::vector<int> ids;
    QWidget* start = dialog.ControlWidget(firstId);
    QWidget* widget = start;
    do {
        // Inner widgets (the calendar's day table) count as their control.
        for (QWidget* w = widget; w && w != &dialog; w = w->parentWidget()) {
            const QString name = w->objectName();
            if (name.startsWith(QStringLiteral("ctl"))) {
                const int id = name.mid(3).toInt();
                if (std::find(ids.begin(), ids.end(), id) == ids.end())
                    ids.push_back(id);
                break;
            }
        }
        widget = widget->nextInFocusChain();
    } while (widget != start);
    return ids;
}

TEST(TemplateDialog, FilingWindowTabOrder) {
    TemplateDialog dialog(DialogId::Filing);
    using namespace ids::filing;
    using namespace ids::keypad;
    const int expected[] = {kSourceField,
                            kBrowseButton,
                            kOpenSourceButton,
                            kTypeButton1,
                            kTypeButton2,
                            kTypeButton3,
                            kTypeButton4,
                            kTypeButton5,
                            kTypeButton6,
                            kTypeButton7,
                            kTypeButton8,
                            kTypeButton9,
                            kTypeButton10,
                            kTypeButton11,
                            kTypeButton12,
                            kDateField,
                            kCalendar,
                            kLastMonthEndButton,
                            kTodayButton,
                            kThisMonthEndButton,
                            kTypeNameField,
                            kCompanyField,
                            kCompanyList,
                            kEditCompaniesButton,
                            kMultipleAmountsButton,
                            kAmountField,
                            kGroupedAmount,
                            k7,
                            k8,
                            k9,
                            k4,
                            k5,
                            k6,
                            k1,
                            k2,
                            k3,
                            k0,
                            k00,
                            kClear,
                            kRemarkField,
                            kFolderField,
                            kFileNameField,
                            kExecuteButton,
                            kMenuButton,
                            kStorageFolderButton,
                            kSearchButton,
                            kExitButton,
                            kPageBackButton,
                            kPageForwardButton};
    EXPECT_THAT(FocusChainIds(dialog, kSourceField), ElementsAreArray(expected));
}

TEST(TemplateDialog, MultipleAmountsTabOrder) {
    TemplateDialog dialog(DialogId::Kingaku);
    using namespace ids::kingaku;
    using namespace ids::keypad;
    const int expected[] = {
        kAmount1,    kAmount2, kAmount3,     kAmount4, kAmount5, kAmount6, k7,     k8,     k9,
        k4,          k5,       k6,           k1,       k2,       k3,       k0,     k00,    kClear,
        kAmountList, ids::kOk, ids::kCancel, kView1,   kView2,   kView3,   kView4, kView5, kView6};
    std::vector<int> chain = FocusChainIds(dialog, kAmount1);
    // The markers are labels and take no focus; they are not in the chain's order of interest.
    std::erase_if(chain, [](int id) { return std::ranges::count(kMarkers, id) > 0; });
    EXPECT_THAT(chain, ElementsAreArray(expected));
}

TEST(TemplateDialog, SettingsDialogStyles) {
    TemplateDialog dialog(DialogId::Setting);
    EXPECT_TRUE(dialog.Control<QPushButton>(ids::kOk)->isDefault());
    EXPECT_TRUE(dialog.Control<QPushButton>(ids::setting::kUnderscoreFormBox)
                    ->isCheckable()); // push-like check box
    EXPECT_STREQ(dialog.ControlWidget(ids::setting::kCompanyFoldersBox)->metaObject()->className(),
                 "QCheckBox");
    for (int hidden : {ids::setting::kEditTypeButton, ids::setting::kTypeList})
        EXPECT_TRUE(dialog.ControlWidget(hidden)->isHidden()) << hidden;
    EXPECT_FALSE(dialog.Control<ListBox>(ids::setting::kTypeList)->IsSorted());
    EXPECT_FALSE(dialog.Control<QTreeWidget>(ids::setting::kExampleTree)->isEnabled());
    EXPECT_FALSE(dialog.ControlWidget(ids::setting::kRootField)->isHidden());
}

// A caption set at run time is fitted again: smaller when too wide, the dialog font when not.
TEST(TemplateDialog, FitCaptionShrinksOnlyWhatDoesNotFit) {
    TemplateDialog dialog(DialogId::Filing);
    auto* type = dialog.Control<QAbstractButton>(ids::filing::kTypeButton1);

    type->setText(QString::fromUtf8("給与明細(控)"));
    dialog.FitCaption(ids::filing::kTypeButton1);
    EXPECT_LT(type->font().pointSizeF(), dialog.font().pointSizeF());
    EXPECT_LE(QFontMetrics(type->font()).horizontalAdvance(type->text()), type->width());

    type->setText(QStringLiteral("A"));
    dialog.FitCaption(ids::filing::kTypeButton1);
    EXPECT_EQ(type->font(), dialog.font());
}

// Buttons 1 and 2 end the dialog as OK and Cancel; so does the close box, as Cancel.
TEST(TemplateDialog, OkCancelAndTheCloseBox) {
    struct Case {
        const char* name;
        std::function<void(TemplateDialog&)> act;
        int result;
    };
    const Case cases[] = {
        {"OK", [](TemplateDialog& d) { d.Control<QPushButton>(ids::kOk)->click(); },
         QDialog::Accepted},
        {"Cancel", [](TemplateDialog& d) { d.Control<QPushButton>(ids::kCancel)->click(); },
         QDialog::Rejected},
        {"close box", [](TemplateDialog& d) { d.close(); }, QDialog::Rejected},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TemplateDialog dialog(DialogId::Setting);
        ASSERT_TRUE(test::ShowActive(dialog));
        dialog.setResult(-1);
        c.act(dialog);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(dialog.result(), c.result);
    }
}

// Without the key filter the standard keys stay: Enter in an edit presses the default button even
// though it is hidden, Enter on a focused push button presses that button, Escape cancels.
TEST(TemplateDialog, StandardKeysPressTheHiddenDefaultButton) {
    {
        TemplateDialog dialog(DialogId::CopyDir);
        ASSERT_TRUE(test::ShowActive(dialog));
        dialog.Control<QLineEdit>(ids::copyDir::kNameField)->setFocus();
        QTest::keyClick(dialog.Control<QLineEdit>(ids::copyDir::kNameField), Qt::Key_Return);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    }
    {
        TemplateDialog dialog(DialogId::CopyDir);
        ASSERT_TRUE(test::ShowActive(dialog));
        QSignalSpy browse(dialog.Control<QPushButton>(ids::copyDir::kSourceBrowseButton),
                          &QPushButton::clicked);
        dialog.Control<QPushButton>(ids::copyDir::kSourceBrowseButton)->setFocus();
        QTest::keyClick(dialog.Control<QPushButton>(ids::copyDir::kSourceBrowseButton),
                        Qt::Key_Enter, Qt::KeypadModifier);
        EXPECT_EQ(browse.count(), 1);
        EXPECT_TRUE(dialog.isVisible());
        QTest::keyClick(dialog.Control<QPushButton>(ids::copyDir::kSourceBrowseButton),
                        Qt::Key_Escape);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
    }
}

TEST(TemplateDialog, PicturesAreBuiltIn) {
    EXPECT_FALSE(AppIcon().isNull());
    EXPECT_FALSE(BitmapResource(kBannerBitmapResource).isNull());
    EXPECT_TRUE(BitmapResource(999).isNull());
}

TEST(TemplateDialogDeathTest, AskingForAControlOfAnotherKindEndsWithAMessage) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    TemplateDialog dialog(DialogId::Menu);
    EXPECT_DEATH(dialog.Control<QLineEdit>(ids::menu::kSettingsButton),
                 "Dialog 141 has a control 1029, but the code asks for a QLineEdit");
    EXPECT_DEATH(dialog.Control<QPushButton>(4711), "Dialog 141 has no control 4711");
}

} // namespace
} // namespace fmb
