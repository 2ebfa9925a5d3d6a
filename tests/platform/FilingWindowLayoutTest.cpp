// The filing window, the index export and the backup dialog as the builder makes them from their
// templates with the fonts this system has: nothing outside the window or on its edge, no control
// over another, no frame's caption under a control, every caption whole, and the filing window on
// a small laptop screen. CTest runs these at 100 % and again at 125 % (QT_SCALE_FACTOR).
#include "platform/TemplateDialog.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOption>

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace fmb {
namespace {

// What a control shows on the dialog: its rectangle, or for a label the part its text takes.
struct Shown {
    std::string name;
    QRect rect;
};

std::string NameOf(const QWidget& widget) {
    QString text;
    if (auto* label = qobject_cast<const QLabel*>(&widget))
        text = label->text();
    else if (auto* button = qobject_cast<const QAbstractButton*>(&widget))
        text = button->text();
    else if (auto* frame = qobject_cast<const QGroupBox*>(&widget))
        text = frame->title();
    return (widget.objectName() + QLatin1Char(' ') + text).toStdString();
}

bool IsLabel(const QWidget& widget) {
    return qobject_cast<const QLabel*>(&widget) != nullptr;
}

// Frames and separator lines only draw around or between controls.
bool IsDecoration(const QWidget& widget) {
    return qobject_cast<const QGroupBox*>(&widget) ||
           QByteArray(widget.metaObject()->className()) == "QFrame";
}

std::vector<QWidget*> VisibleControls(const QDialog& dialog) {
    std::vector<QWidget*> controls;
    for (QWidget* child : dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!child->isHidden())
            controls.push_back(child);
    }
    return controls;
}

// What a label draws: the ink of its one line of text, which starts at its top left corner (a
// label's rectangle is often wider and taller than its text), or the opaque part of its picture.
QRect InkRect(const QLabel& label) {
    if (!label.pixmap().isNull()) {
        const QImage picture = label.pixmap().toImage();
        QRect opaque;
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                if (qAlpha(picture.pixel(x, y)) > 0)
                    opaque |= QRect(x, y, 1, 1);
            }
        }
        const qreal ratio = picture.devicePixelRatio();
        return QRect(QPoint(std::floor(opaque.left() / ratio), std::floor(opaque.top() / ratio)),
                     QPoint(std::ceil(opaque.right() / ratio), std::ceil(opaque.bottom() / ratio)))
            .translated(label.pos());
    }
    if (label.wordWrap())
        return label.geometry();
    const QFontMetrics metrics(label.font());
    return metrics.tightBoundingRect(label.text())
        .translated(label.x(), label.y() + metrics.ascent())
        .intersected(label.geometry());
}

// The controls a user reads or works with, by what they show.
std::vector<Shown> ShownControls(const QDialog& dialog) {
    std::vector<Shown> shown;
    for (QWidget* control : VisibleControls(dialog)) {
        if (IsDecoration(*control))
            continue;
        auto* label = qobject_cast<QLabel*>(control);
        shown.push_back({NameOf(*control), label ? InkRect(*label) : control->geometry()});
    }
    return shown;
}

// Where a frame draws its caption, in the dialog's coordinates.
QRect CaptionRect(const QGroupBox& frame) {
    QStyleOptionGroupBox option;
    option.initFrom(&frame);
    option.text = frame.title();
    option.lineWidth = 1;
    option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    option.textAlignment = frame.alignment();
    const QRect label = frame.style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                      QStyle::SC_GroupBoxLabel, &frame);
    return label.translated(frame.pos());
}

class DialogLayout : public ::testing::TestWithParam<DialogId> {};

TEST_P(DialogLayout, EveryControlIsInsideTheDialogAndNoButtonOrFieldTouchesItsEdge) {
    const TemplateDialog dialog(GetParam());
    const QRect inner = dialog.rect().adjusted(1, 1, -1, -1);
    for (QWidget* control : VisibleControls(dialog)) {
        // A frame of a button or field on the window's edge reads as cut off.
        const bool edgeless = IsLabel(*control) || IsDecoration(*control);
        EXPECT_TRUE((edgeless ? dialog.rect() : inner).contains(control->geometry()))
            << NameOf(*control);
    }
}

TEST_P(DialogLayout, NoControlCoversAnother) {
    const TemplateDialog dialog(GetParam());
    const std::vector<Shown> shown = ShownControls(dialog);
    for (std::size_t a = 0; a < shown.size(); ++a) {
        for (std::size_t b = a + 1; b < shown.size(); ++b) {
            EXPECT_FALSE(shown[a].rect.intersects(shown[b].rect))
                << shown[a].name << " / " << shown[b].name;
        }
    }
}

TEST_P(DialogLayout, FrameCaptionsAreClearOfEveryControl) {
    const TemplateDialog dialog(GetParam());
    const std::vector<Shown> shown = ShownControls(dialog);
    for (QGroupBox* frame : dialog.findChildren<QGroupBox*>()) {
        if (frame->isHidden() || frame->title().isEmpty())
            continue;
        const QRect caption = CaptionRect(*frame);
        EXPECT_TRUE(frame->geometry().contains(caption)) << NameOf(*frame);
        for (const Shown& control : shown)
            EXPECT_FALSE(caption.intersects(control.rect))
                << NameOf(*frame) << " / " << control.name;
    }
}

TEST_P(DialogLayout, EveryCaptionIsWhole) {
    const TemplateDialog dialog(GetParam());
    for (QWidget* control : VisibleControls(dialog)) {
        const QFontMetrics metrics(control->font());
        int room = -1;
        QString caption;
        if (auto* check = qobject_cast<QCheckBox*>(control)) {
            QStyleOptionButton option;
            option.initFrom(check);
            caption = check->text();
            room =
                check->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, check).width();
        } else if (auto* button = qobject_cast<QPushButton*>(control)) {
            QStyleOptionButton option;
            option.initFrom(button);
            caption = button->text();
            room = button->style()
                       ->subElementRect(QStyle::SE_PushButtonContents, &option, button)
                       .width();
        } else if (auto* label = qobject_cast<QLabel*>(control);
                   label && label->pixmap().isNull() && !label->wordWrap()) {
            caption = label->text();
            room = label->contentsRect().width();
        }
        if (room >= 0) {
            EXPECT_LE(metrics.horizontalAdvance(caption), room) << NameOf(*control);
        }
    }
}

// The dialogs with the most controls, and those that show a running job's progress.
INSTANTIATE_TEST_SUITE_P(Dialogs, DialogLayout,
                         ::testing::Values(DialogId::Filing, DialogId::CsvOut, DialogId::CopyDir,
                                           DialogId::Setting, DialogId::Correct, DialogId::Verify,
                                           DialogId::Menu),
                         [](const ::testing::TestParamInfo<DialogId>& info) {
                             return std::to_string(static_cast<int>(info.param));
                         });

// A laptop's 1366 x 768 screen at 125 %: the filing window with a title bar of that scale.
TEST(FilingWindowLayout, FitsASmallScreenAt125Percent) {
    const TemplateDialog dialog(DialogId::Filing);
    constexpr double kScale = 1.25;
    constexpr int kTitleBar = 38;
    EXPECT_LE(std::ceil(dialog.width() * kScale), 1366);
    EXPECT_LE(std::ceil(dialog.height() * kScale) + kTitleBar, 768);
}

} // namespace
} // namespace fmb
