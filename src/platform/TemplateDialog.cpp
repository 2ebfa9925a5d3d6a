#include "platform/TemplateDialog.h"

#include "platform/ListBox.h"
#include "platform/Pictures.h"
#include "res/ControlIds.h"

#include <QAbstractButton>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QTableView>
#include <QTreeWidget>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace fmb {
namespace {

// Background of dialogs with kPaintedBackground.
const QColor kBackground(250, 252, 250);

// A caption too wide for its control is drawn smaller, down to this part of the dialog font; one
// that would need less stays at the dialog font (and is cut).
constexpr qreal kSmallestCaptionScale = 0.66;

// Japanese UI fonts to stand in for the Windows dialog fonts, best first.
const char* const kJapaneseUiFonts[] = {
    "MS UI Gothic",     "Yu Gothic UI", "Meiryo UI",   "Hiragino Sans",
    "Noto Sans CJK JP", "Noto Sans JP", "IPAexGothic", "IPAGothic",
};

// a * b / c rounded to the nearest integer, halves away from zero, as Windows' MulDiv.
int MulDiv(int a, int b, int c) {
    const long long product = static_cast<long long>(a) * b;
    const long long half = c / 2;
    return static_cast<int>(product >= 0 ? (product + half) / c : (product - half) / c);
}

Qt::WindowFlags WindowFlagsOf(std::uint32_t style) {
    Qt::WindowFlags flags = (style & kAppWindow) ? Qt::Window : Qt::Dialog;
    flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
             Qt::WindowCloseButtonHint;
    if (style & kMinimizeBox)
        flags |= Qt::WindowMinimizeButtonHint;
    if (style & kStaysOnTop)
        flags |= Qt::WindowStaysOnTopHint;
    return flags;
}

// The picture scaled to the height of the control and drawn from its left edge; what does not fit
// is cut on the right, and the rest of a wider control stays transparent. So one banner serves
// rectangles of any proportions.
QPixmap FitBitmap(const QPixmap& picture, QSize size, qreal ratio) {
    QPixmap fitted(size * ratio);
    fitted.setDevicePixelRatio(ratio);
    fitted.fill(Qt::transparent);
    if (picture.isNull())
        return fitted;
    QPainter painter(&fitted);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const int width = picture.width() * size.height() / picture.height();
    painter.drawPixmap(QRect(0, 0, width, size.height()), picture);
    return fitted;
}

// Width the caption of a label, check box, push button or group box needs with this font.
int CaptionWidth(const QWidget& widget, const QString& text, const QFont& font) {
    const int textWidth = QFontMetrics(font).horizontalAdvance(text);
    const QStyle& style = *widget.style();
    if (qobject_cast<const QCheckBox*>(&widget))
        return style.pixelMetric(QStyle::PM_IndicatorWidth, nullptr, &widget) +
               style.pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, &widget) + textWidth;
    if (qobject_cast<const QPushButton*>(&widget))
        return style.pixelMetric(QStyle::PM_ButtonMargin, nullptr, &widget) +
               2 * style.pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &widget) + textWidth;
    if (qobject_cast<const QGroupBox*>(&widget))
        return textWidth + QFontMetrics(font).averageCharWidth() * 2;
    return textWidth;
}

QString CaptionOf(const QWidget& widget) {
    if (auto* label = qobject_cast<const QLabel*>(&widget))
        return label->wordWrap() || !label->pixmap().isNull() ? QString() : label->text();
    if (auto* button = qobject_cast<const QAbstractButton*>(&widget))
        return button->text();
    if (auto* frame = qobject_cast<const QGroupBox*>(&widget))
        return frame->title();
    return QString();
}

// lineHeight: one line of text in the dialog's units (8 vertical units), in pixels.
QWidget* CreateControl(const ControlTemplate& control, QDialog& dialog, qreal ratio,
                       QSize pixelSize, int lineHeight) {
    const QString caption = QString::fromUtf8(control.caption);
    const std::uint32_t style = control.style;
    switch (control.kind) {
    case ControlKind::Static: {
        auto* label = new QLabel(caption, &dialog);
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        // A static text wraps at its right edge when its rectangle was drawn for two lines or
        // more, as the template's units count lines.
        label->setWordWrap(pixelSize.height() >= 2 * lineHeight);
        return label;
    }
    case ControlKind::Bitmap: {
        auto* label = new QLabel(&dialog);
        label->setPixmap(FitBitmap(BitmapResource(control.bitmap), pixelSize, ratio));
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return label;
    }
    case ControlKind::EtchedLine: {
        auto* line = new QFrame(&dialog);
        line->setFrameShape(QFrame::HLine);
        line->setFrameShadow(QFrame::Sunken);
        return line;
    }
    case ControlKind::GroupBox:
        return new QGroupBox(caption, &dialog);
    case ControlKind::Edit: {
        // A QLineEdit always scrolls sideways, as kAutoScroll asks.
        auto* edit = new QLineEdit(caption, &dialog);
        edit->setReadOnly(style & kReadOnly);
        if (style & kRightAligned)
            edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        return edit;
    }
    case ControlKind::Button: {
        auto* button = new QPushButton(caption, &dialog);
        button->setDefault(style & kDefaultButton);
        return button;
    }
    case ControlKind::CheckBox: {
        if (style & kPushLike) {
            auto* button = new QPushButton(caption, &dialog);
            button->setCheckable(true);
            return button;
        }
        return new QCheckBox(caption, &dialog);
    }
    case ControlKind::ListBox: {
        // Selection changes are always reported (kNotify), as currentRowChanged.
        auto* list = new ListBox(style & kSorted, &dialog);
        list->setVerticalScrollBarPolicy((style & kVScroll) ? Qt::ScrollBarAsNeeded
                                                            : Qt::ScrollBarAlwaysOff);
        list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        return list;
    }
    case ControlKind::MonthCalendar: {
        // QCalendarWidget neither marks today nor shows a "today" line, as kNoTodayCircle and
        // kNoToday ask; week numbers are not shown either.
        auto* calendar = new QCalendarWidget(&dialog);
        calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
        calendar->setGridVisible(false);
        // Let the seven day columns share whatever width the template gives.
        if (auto* days = calendar->findChild<QTableView*>()) {
            days->horizontalHeader()->setMinimumSectionSize(0);
            days->verticalHeader()->setMinimumSectionSize(0);
        }
        return calendar;
    }
    case ControlKind::Tree: {
        // The items are text only, expanded by the code; kHasLines shows as indentation.
        auto* tree = new QTreeWidget(&dialog);
        tree->setHeaderHidden(true);
        tree->setColumnCount(1);
        tree->setRootIsDecorated(false);
        tree->setItemsExpandable(false);
        return tree;
    }
    case ControlKind::ProgressBar: {
        // A bar alone, as Windows draws it: the share shows in the bar, the numbers in a label.
        auto* bar = new QProgressBar(&dialog);
        bar->setTextVisible(false);
        bar->setRange(0, 1000);
        bar->setValue(0);
        return bar;
    }
    }
    std::abort(); // every ControlKind is handled above
}

// A single line of static text gets the whole line box of the dialog font, centred on its
// rectangle: a CJK font's line box is taller than the line the dialog units count, and the
// rectangle alone would cut the lower part of the glyphs (descenders, underscores, brackets).
// What it then overlaps still takes the clicks.
void FitLabelLine(QLabel& label, const QRect& rect, const QFont& dialogFont) {
    const int line = QFontMetrics(dialogFont).height();
    if (label.wordWrap() || !label.pixmap().isNull() || rect.height() >= line)
        return;
    label.setGeometry(rect.x(), rect.y() - (line - rect.height()) / 2, rect.width(), line);
    label.setAttribute(Qt::WA_TransparentForMouseEvents);
}

// Read-only and disabled edits take the dialog's background, as the static-coloured controls of
// a painted dialog do.
void PaintEditBackground(QLineEdit& edit) {
    QPalette palette = edit.palette();
    palette.setColor(QPalette::Base, kBackground);
    edit.setPalette(palette);
}

} // namespace

DialogUnits DialogUnits::ForFont(const QFont& font) {
    const QFontMetrics metrics(font);
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return {MulDiv(letters, 1, 52), VerticalBase(font)};
}

int DialogUnits::VerticalBase(const QFont& font) {
    // The dialog fonts of a Japanese Windows (MS UI Gothic, also behind "MS Shell Dlg") are as
    // high as their em: 12 px at 9 pt. The CJK fonts that stand in for them elsewhere carry a
    // tall line box (Noto Sans CJK: 1.45 em), which would stretch every dialog by half and push
    // the filing window off a 768-pixel screen at 125 %; so the height counts at most the em.
    return std::min(QFontMetrics(font).height(), QFontInfo(font).pixelSize());
}

int DialogUnits::X(int units) const {
    return MulDiv(units, baseX, 4);
}

int DialogUnits::Y(int units) const {
    return MulDiv(units, baseY, 8);
}

QRect DialogUnits::ToPixels(const DluRect& rect) const {
    return {X(rect.x), Y(rect.y), X(rect.width), Y(rect.height)};
}

QFont DialogFont(const char* face, int pointSize) {
    QString family = QString::fromUtf8(face);
    if (!QFontDatabase::hasFamily(family)) {
        family.clear();
        for (const char* candidate : kJapaneseUiFonts) {
            if (QFontDatabase::hasFamily(QString::fromUtf8(candidate))) {
                family = QString::fromUtf8(candidate);
                break;
            }
        }
    }
    QFont font =
        family.isEmpty() ? QFontDatabase::systemFont(QFontDatabase::GeneralFont) : QFont(family);
    font.setPointSize(pointSize);
    return font;
}

QString ControlObjectName(int id) {
    return QStringLiteral("ctl%1").arg(id);
}

TemplateDialog::TemplateDialog(DialogId id, QWidget* parent)
    : QDialog(parent), m_template(GetDialogTemplate(id)) {
    setWindowFlags(WindowFlagsOf(m_template.style));
    setWindowTitle(QString::fromUtf8(m_template.caption));
    setFont(DialogFont(m_template.fontFace, m_template.pointSize));
    m_units = DialogUnits::ForFont(font());
    setFixedSize(m_units.X(m_template.width), m_units.Y(m_template.height));
    const bool acceptsFiles = m_template.style & kAcceptsFiles;
    setAcceptDrops(acceptsFiles);

    const bool painted = m_template.style & kPaintedBackground;
    if (painted) {
        // Labels, group boxes and check boxes draw no background of their own, so they show
        // this colour behind their text.
        QPalette background = palette();
        background.setColor(QPalette::Window, kBackground);
        setPalette(background);
        setAutoFillBackground(true);
    }

    QList<QGroupBox*> frames;
    for (const ControlTemplate& control : m_template.controls) {
        const QRect geometry = m_units.ToPixels(control.rect);
        QWidget* widget =
            CreateControl(control, *this, devicePixelRatioF(), geometry.size(), m_units.Y(8));
        widget->setGeometry(geometry);
        FitCaption(*widget);
        if (auto* label = qobject_cast<QLabel*>(widget))
            FitLabelLine(*label, geometry, font());
        if (control.style & kDisabled)
            widget->setEnabled(false);
        if (control.style & kHidden)
            widget->setVisible(false);
        if (auto* edit = qobject_cast<QLineEdit*>(widget);
            edit && painted && (edit->isReadOnly() || !edit->isEnabled()))
            PaintEditBackground(*edit);
        if (auto* frame = qobject_cast<QGroupBox*>(widget))
            frames.append(frame);
        if (acceptsFiles)
            widget->setAcceptDrops(false);
        if (control.id > 0) {
            widget->setObjectName(ControlObjectName(control.id));
            m_controls.insert(control.id, widget);
        }
    }
    if (auto* ok = qobject_cast<QPushButton*>(ControlWidget(ids::kOk)))
        connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    if (auto* cancel = qobject_cast<QPushButton*>(ControlWidget(ids::kCancel)))
        connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    // A group box only frames the controls drawn over it; below them it never takes their clicks.
    for (QGroupBox* frame : frames)
        frame->lower();

    // Tab order: the template's list, or the order of the controls.
    QList<QWidget*> order;
    if (m_template.tabOrder.empty()) {
        for (const ControlTemplate& control : m_template.controls) {
            if (control.id > 0)
                order.append(m_controls.value(control.id));
        }
    } else {
        for (int controlId : m_template.tabOrder)
            order.append(ControlWidget(controlId));
    }
    QWidget* previous = nullptr;
    for (QWidget* widget : order) {
        if (!widget || widget->focusPolicy() == Qt::NoFocus)
            continue;
        if (previous)
            setTabOrder(previous, widget);
        previous = widget;
    }
}

TemplateDialog::~TemplateDialog() = default;

void TemplateDialog::keyPressEvent(QKeyEvent* event) {
    // QDialog presses only a visible default button; the Windows dialog manager presses the
    // default button whether it shows or not. A focused push button has taken Enter before this.
    const bool enter = (event->key() == Qt::Key_Return && event->modifiers() == Qt::NoModifier) ||
                       (event->key() == Qt::Key_Enter &&
                        (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier);
    if (enter) {
        for (QPushButton* button : findChildren<QPushButton*>(Qt::FindDirectChildrenOnly)) {
            if (button->isDefault()) {
                if (button->isEnabled())
                    button->click();
                return;
            }
        }
    }
    QDialog::keyPressEvent(event);
}

void TemplateDialog::FitCaption(QWidget& control) const {
    if (control.font() != font())
        control.setFont(font()); // back to the dialog's font
    const QString caption = CaptionOf(control);
    const int available = control.width();
    if (caption.isEmpty() || CaptionWidth(control, caption, font()) <= available)
        return;
    QFont smaller = font();
    const qreal smallest = font().pointSizeF() * kSmallestCaptionScale;
    for (qreal size = font().pointSizeF() - 0.25; size >= smallest; size -= 0.25) {
        smaller.setPointSizeF(size);
        if (CaptionWidth(control, caption, smaller) <= available) {
            control.setFont(smaller);
            return;
        }
    }
}

void TemplateDialog::FitCaption(int id) const {
    FitCaption(*Control<QWidget>(id));
}

void TemplateDialog::FailControl(int id, const char* wanted) const {
    const QWidget* widget = ControlWidget(id);
    std::fprintf(stderr, "Dialog %d has %s %d, but the code asks for a %s.\n",
                 static_cast<int>(m_template.id), widget ? "a control" : "no control", id, wanted);
    std::abort();
}

} // namespace fmb
