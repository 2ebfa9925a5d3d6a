#pragma once

#include "res/DialogTemplates.h"

#include <QDialog>
#include <QFont>
#include <QHash>
#include <QRect>
#include <QString>

namespace fmb {

// Dialog units of a font, as Windows computes them: baseX is the average width of the 52 letters
// A-Z a-z (rounded), baseY the font's height (see VerticalBase); one horizontal unit is baseX / 4
// pixels, one vertical unit baseY / 8 pixels, each conversion rounded to the nearest pixel.
struct DialogUnits {
    int baseX = 0;
    int baseY = 0;

    static DialogUnits ForFont(const QFont& font);
    // The font's height as the dialog units count it: its line height, but no more than its em.
    static int VerticalBase(const QFont& font);
    int X(int units) const;
    int Y(int units) const;
    QRect ToPixels(const DluRect& rect) const;
};

// The font of a template: its face at its point size when the system has it ("MS UI Gothic",
// "MS Shell Dlg" on Windows), otherwise the system's Japanese UI font at that size.
QFont DialogFont(const char* face, int pointSize);

// Object name of the control with this id ("ctl1000"), for lookups from tests.
QString ControlObjectName(int id);

// A QDialog built from its dialog template: the base class of every dialog of the program.
//
// The constructor creates every control of the template as a direct child of the dialog:
//   Static -> QLabel            Bitmap -> QLabel with the picture   EtchedLine -> QFrame
//   GroupBox -> QGroupBox       Edit -> QLineEdit                  Button -> QPushButton
//   CheckBox -> QCheckBox, or a checkable QPushButton when push-like
//   ListBox -> fmb::ListBox     MonthCalendar -> QCalendarWidget    Tree -> QTreeWidget
//   ProgressBar -> QProgressBar without text, range 0-1000
// at its rectangle converted from dialog units through the dialog font, with its caption, styles
// and tab order, and fixes the dialog's size, title, font and window flags. Every control with an
// id > 0 is reachable through Control<T>(id) and carries the object name ControlObjectName(id).
// A label wraps its text when its rectangle was drawn for two lines or more (16 units). In a dialog
// with kPaintedBackground, read-only and disabled edits of the template take the background colour.
// In a dialog with kAcceptsFiles, no control takes a drop itself (a line edit would paste the
// file's address), so a file dropped anywhere reaches the dialog's dragEnterEvent/dropEvent.
//
// As in a Windows dialog, button ids::kOk calls accept() and button ids::kCancel reject(), and
// the close box calls reject() too. Both are virtual: a dialog that checks or saves before it
// closes overrides accept() (and reject() to ask before closing), then calls QDialog's.
// In a dialog without the common key filter, Enter presses the default button even when it is
// hidden (the backup dialog's OK), unless a push button has the focus, and Escape calls reject().
//
// A dialog class derives from it, passes its DialogId, then connects the controls it handles,
// named in res/ControlIds.h:
//
//   CKingakuDig::CKingakuDig(const Environment& env, const AmountList& amounts, QWidget* parent)
//       : TemplateDialog(DialogId::Kingaku, parent), m_env(env), m_amounts(amounts) {
//       InstallCommonKeyFilter(*this);
//       connect(Control<QPushButton>(ids::keypad::k0), &QPushButton::clicked, this,
//               [this] { Press(0); });
//   }
//   void CKingakuDig::accept() { /* take the amounts */ TemplateDialog::accept(); }
//
// Check boxes, push-like or not, are all QAbstractButton: use Control<QAbstractButton>(id) to read
// or set their state.
class TemplateDialog : public QDialog {
    Q_OBJECT

public:
    explicit TemplateDialog(DialogId id, QWidget* parent = nullptr);
    ~TemplateDialog() override;
    TemplateDialog(const TemplateDialog&) = delete;
    TemplateDialog& operator=(const TemplateDialog&) = delete;

    // The control with this id as a T. A missing id or another type is a programming error and
    // ends the program with a message naming the dialog and the id.
    template <class T> T* Control(int id) const {
        QWidget* widget = ControlWidget(id);
        T* typed = qobject_cast<T*>(widget);
        if (!typed)
            FailControl(id, T::staticMetaObject.className());
        return typed;
    }
    // The control with this id, or nullptr.
    QWidget* ControlWidget(int id) const { return m_controls.value(id, nullptr); }

    // Fits the caption of a label, check box, push button or group box into the control's width:
    // a caption wider than the control is drawn in a smaller size of the dialog font (down to two
    // thirds), a caption that fits in the dialog font. The builder does it for the template's
    // captions; call it again after setting a caption at run time (the type buttons' names, for
    // instance).
    void FitCaption(int id) const;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void FitCaption(QWidget& control) const;
    [[noreturn]] void FailControl(int id, const char* wanted) const;

    const DialogTemplate& m_template;
    DialogUnits m_units;
    QHash<int, QWidget*> m_controls;
};

} // namespace fmb
