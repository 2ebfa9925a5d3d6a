#pragma once

#include "platform/TemplateDialog.h"

#include <QDialog>

#include <string>

class QLineEdit;

namespace fmb::test {

// The control with this id of a dialog built from a template, as a T (see TemplateDialog::
// Control). For modal-run handlers, which receive the dialog as a QDialog.
template <class T> T* ControlOf(QDialog& dialog, int id) {
    return dynamic_cast<TemplateDialog&>(dialog).template Control<T>(id);
}

// The edit with this id, its text, setting its text, and a click on the push button with this id.
QLineEdit& EditOf(QDialog& dialog, int id);
std::string TextOf(QDialog& dialog, int id);
void SetTextOf(QDialog& dialog, int id, const std::string& text);
void ClickOn(QDialog& dialog, int id);

// Clicks the push button with this id, which starts a job on a worker thread (or refuses to),
// and waits, processing events, until the job has ended and its result was shown: the button
// is enabled again. False when it still runs after a generous time.
bool ClickAndWaitForJob(QDialog& dialog, int id);

// Shows a window and waits until it is the active window, so that focus and key presses behave
// as on screen. Returns false when it never became active.
bool ShowActive(QWidget& window);

} // namespace fmb::test
